#pragma once
// What the two POSIX files of platform/ (Files.cpp, OutputFile.cpp) share;
// nothing outside platform/ includes this.
#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "platform/Files.h"

namespace platform::posix {

// Files are read and copied in blocks of this many bytes.
inline constexpr std::size_t kBlock = 1 << 18;

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
