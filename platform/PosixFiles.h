#pragma once
// What the two POSIX files of platform/ (Files.cpp, OutputFile.cpp) share;
// nothing outside platform/ includes this.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace platform::posix {

// Files are read and copied in blocks of this many bytes.
inline constexpr std::size_t kBlock = 1 << 18;

// Names beside a target keep at most this much of its name, so that a
// prefix and a suffix still fit within a file name's 255 bytes.
inline constexpr std::size_t kNameKept = 200;

inline std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

inline std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file a write must land in, also when the
// link points to a file that does not exist yet (OutputFile.cpp).
bool ResolveLinks(std::string& path, FileStatus& status);

// Writes all of `bytes` at `offset`, retrying interrupted and short writes.
inline bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += n;
  }
  return true;
}

// Puts every extended attribute of the file `from` (its access list among
// them) on the open file `to`; false when one could not be read or put
// (ExtendedAttributes.cpp). Mode bits must be set before: they would
// change the access list's mask.
bool CopyExtendedAttributes(const std::string& from, int to);

inline FileIdentity IdentityFromStat(const struct stat& st) {
  FileIdentity id;
  id.Device = static_cast<std::uint64_t>(st.st_dev);
  id.Inode = static_cast<std::uint64_t>(st.st_ino);
  id.Size = static_cast<std::int64_t>(st.st_size);
  id.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  id.Links = static_cast<std::uint64_t>(st.st_nlink);
  id.Regular = S_ISREG(st.st_mode);
  id.Folder = S_ISDIR(st.st_mode);
  return id;
}

inline FileStatus Failure(FileError error, int code = 0) { return FileStatus{error, code}; }

// Why a file of this kind cannot be read or written as a file: a folder, or
// a pipe, device or socket; Ok for a regular file.
inline FileStatus KindProblem(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return Failure(FileError::IsFolder, EISDIR);
  if (!S_ISREG(st.st_mode)) return Failure(FileError::NotRegular);
  return {};
}

}  // namespace platform::posix
