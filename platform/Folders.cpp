// POSIX folders.
#include "platform/Folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

FileStatus CreateFolders(const std::string& path) {
  if (path.empty()) return StatusOf(ENOENT);
  // Each prefix up to a separator, then the whole path; "a//b" and a
  // trailing separator make empty steps that are skipped.
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (!folder.empty() && folder.back() != '/') {
      if (::mkdir(folder.c_str(), 0700) != 0) {
        // Whatever the system says, a folder (or a link to one) that is
        // already there will do; a file there will not.
        const int code = errno;
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0) {
          if (!S_ISDIR(st.st_mode)) return StatusOf(ENOTDIR);
        } else {
          return StatusOf(code);
        }
      }
    }
    if (end == std::string::npos) return {};
  }
}

std::string StateFolder() {
  // The base directory rules: a relative value is to be ignored.
  const auto absolute = [](const char* value) { return value != nullptr && value[0] == '/'; };
  std::string folder;
  if (const char* state = std::getenv("XDG_STATE_HOME"); absolute(state)) {
    folder = state;
  } else if (const char* home = std::getenv("HOME"); absolute(home)) {
    folder = std::string(home) + "/.local/state";
  } else {
    return {};
  }
  if (folder.back() != '/') folder += '/';
  return folder + "gradesheet/";
}

}  // namespace platform
