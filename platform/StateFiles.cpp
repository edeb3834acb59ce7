// POSIX side of the state folder's files.
#include "platform/StateFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace platform {

std::optional<AppendFile> AppendFile::Create(const std::string& path, FileStatus& status) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  status = {};
  return AppendFile(fd);
}

AppendFile::AppendFile(AppendFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

AppendFile::~AppendFile() {
  if (fd_ >= 0) ::close(fd_);
}

FileStatus AppendFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return StatusOf(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

FileStatus AppendFile::Sync() {
  while (::fdatasync(fd_) != 0) {
    if (errno != EINTR) return StatusOf(errno);
  }
  return {};
}

FileStatus SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return StatusOf(errno);
  const int result = ::fsync(fd);
  const int code = errno;
  ::close(fd);
  return result == 0 ? FileStatus{} : StatusOf(code);
}

FileStatus RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return StatusOf(errno);
  return {};
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string ResolvedPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

std::int64_t NowNs() {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::optional<FileLock> FileLock::TryTake(const std::string& path, Outcome& outcome, FileStatus& status) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    outcome = Outcome::Failed;
    status = StatusOf(errno);
    return std::nullopt;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const int code = errno;
    ::close(fd);
    outcome = code == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Failed;
    status = code == EWOULDBLOCK ? FileStatus{} : StatusOf(code);
    return std::nullopt;
  }
  outcome = Outcome::Taken;
  status = {};
  return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileLock::~FileLock() {
  // The lock file stays: removing it here would let a second taker lock a
  // file name that a third then makes anew beside it.
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
