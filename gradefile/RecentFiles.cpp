#include "gradefile/RecentFiles.h"

#include <algorithm>

namespace {

bool Listable(std::string_view path) {
  return !path.empty() && path.front() == '/' && path.find_first_of("\r\n") == path.npos &&
         path.find('\0') == path.npos;
}

}  // namespace

RecentFiles RecentFiles::Parse(std::string_view bytes) {
  RecentFiles list;
  std::size_t i = 0;
  while (i < bytes.size() && list.paths_.size() < kLimit) {
    std::size_t end = bytes.find('\n', i);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(i, end - i);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (Listable(line) && std::find(list.paths_.begin(), list.paths_.end(), line) == list.paths_.end())
      list.paths_.emplace_back(line);
    i = end + 1;
  }
  return list;
}

std::string RecentFiles::Serialize() const {
  std::string bytes;
  for (const std::string& path : paths_) bytes += path + '\n';
  return bytes;
}

void RecentFiles::Add(const std::string& path) {
  if (!Listable(path)) return;
  Remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kLimit) paths_.resize(kLimit);
}

bool RecentFiles::Remove(const std::string& path) {
  const auto it = std::find(paths_.begin(), paths_.end(), path);
  if (it == paths_.end()) return false;
  paths_.erase(it);
  return true;
}
