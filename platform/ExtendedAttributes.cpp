// A replaced file's extended attributes, its access list among them, put
// on the file that replaces it.
#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/PosixFiles.h"

namespace platform::posix {

namespace {

// The list of names, or the value of one: the call asked for the size
// first, then filled, again while the attribute grew in between.
template <typename Call>
bool ReadSized(Call call, std::vector<char>& out) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const ssize_t size = call(nullptr, 0);
    if (size < 0) return false;
    out.resize(static_cast<std::size_t>(size));
    const ssize_t got = call(out.data(), out.size());
    if (got >= 0) {
      out.resize(static_cast<std::size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
  return false;
}

}  // namespace

bool CopyExtendedAttributes(const std::string& from, int to) {
  std::vector<char> names;
  if (!ReadSized([&](char* buffer, std::size_t size) { return ::listxattr(from.c_str(), buffer, size); },
                 names))
    return errno == ENOTSUP;  // a file system without them has none to keep
  std::vector<char> value;
  for (std::size_t at = 0; at < names.size();) {
    const std::string name(names.data() + at);
    at += name.size() + 1;
    if (name.empty()) continue;
    if (!ReadSized(
            [&](char* buffer, std::size_t size) { return ::getxattr(from.c_str(), name.c_str(), buffer, size); },
            value)) {
      if (errno == ENODATA) continue;  // removed in between
      return false;
    }
    if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

}  // namespace platform::posix
