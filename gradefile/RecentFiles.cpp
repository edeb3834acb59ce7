#include "gradefile/RecentFiles.h"

#include <algorithm>
#include <optional>

#include "platform/Files.h"

namespace {

bool Listable(std::string_view path) {
  return !path.empty() && path.front() == '/' && path.find_first_of("\r\n") == path.npos &&
         path.find('\0') == path.npos;
}

}  // namespace

void RecentFiles::Take(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (paths_.size() < kLimit && line.size() <= kMaxPathBytes && Listable(line) &&
      std::find(paths_.begin(), paths_.end(), line) == paths_.end())
    paths_.emplace_back(line);
}

RecentFiles RecentFiles::Parse(std::string_view bytes) {
  RecentFiles list;
  std::size_t i = 0;
  while (i < bytes.size() && list.paths_.size() < kLimit) {
    std::size_t end = bytes.find('\n', i);
    if (end == std::string_view::npos) end = bytes.size();
    list.Take(bytes.substr(i, end - i));
    i = end + 1;
  }
  return list;
}

RecentFiles RecentFiles::Read(const std::string& path) {
  RecentFiles list;
  platform::FileStatus status;
  std::optional<platform::InputFile> file = platform::InputFile::Open(path, status);
  if (!file) return list;
  std::string line;  // the line so far; a line past the longest path is skipped to its end
  bool tooLong = false, atEnd = false;
  char block[1 << 14];
  for (std::size_t read = 0; read < kMaxReadBytes && list.paths_.size() < kLimit;) {
    const long n = file->Read(block, sizeof block, status);
    if (n <= 0) {
      atEnd = n == 0;
      break;
    }
    read += static_cast<std::size_t>(n);
    std::string_view rest(block, static_cast<std::size_t>(n));
    for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1)) {
      if (!tooLong) list.Take(line.append(rest.substr(0, end)));
      line.clear();
      tooLong = false;
    }
    if (!tooLong) line.append(rest);
    if (line.size() > kMaxPathBytes + 1) {
      tooLong = true;
      line.clear();
    }
  }
  if (atEnd && !tooLong) list.Take(line);  // a last line without its end
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
