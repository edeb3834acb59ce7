// The writer's lock on POSIX: flock on the file itself.
#include "platform/WriteLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/PosixFiles.h"

namespace platform {

namespace {

// The process that holds a flock on the file (device, inode), as
// "12345 gradesheet-cli", from /proc/locks; empty when it does not say.
std::string LockHolder(const struct stat& st) {
  char wanted[64];
  std::snprintf(wanted, sizeof wanted, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, pid, file;
    if (!(fields >> number >> kind) || kind == "->") continue;  // a waiter, not a holder
    if (!(fields >> mode >> access >> pid >> file) || kind != "FLOCK" || file != wanted) continue;
    std::string name;
    std::ifstream comm("/proc/" + pid + "/comm");
    std::getline(comm, name);
    return name.empty() ? pid : pid + " " + name;
  }
  return {};
}

}  // namespace

std::optional<WriteLock> WriteLock::Take(const std::string& path, std::chrono::milliseconds wait,
                                         FileStatus& status, std::string* holder) {
  if (holder) holder->clear();
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
      if (errno == ENOENT) {
        status = {};
        return WriteLock(-1);
      }
      status = StatusOf(errno);
      return std::nullopt;
    }
    struct stat held {};
    status = ::fstat(fd, &held) == 0 ? posix::KindProblem(held) : StatusOf(errno);
    if (!status.Ok()) {
      ::close(fd);
      return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // Locked: good while the name still names this file, and not one a
      // writer renamed over it while this one waited.
      struct stat named {};
      if (::stat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
        status = {};
        return WriteLock(fd);
      }
      ::close(fd);
      continue;
    }
    const int code = errno;
    if (code != EWOULDBLOCK && code != EINTR) {
      ::close(fd);
      status = StatusOf(code);
      return std::nullopt;
    }
    if (std::chrono::steady_clock::now() >= until) {
      if (holder) *holder = LockHolder(held);
      ::close(fd);
      status = posix::Failure(FileError::Busy, EWOULDBLOCK);
      return std::nullopt;
    }
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

WriteLock& WriteLock::operator=(WriteLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

WriteLock::~WriteLock() { Release(); }

void WriteLock::Release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
