// POSIX files: status, identity and reading. The writing is in
// OutputFile.cpp; both are what a port to another system replaces.
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "platform/PosixFiles.h"
#include "platform/RewriteJournal.h"

namespace platform {

using posix::Failure;
using posix::IdentityFromStat;
using posix::kBlock;
using posix::KindProblem;

FileStatus StatusOf(int code) {
  switch (code) {
    case 0: return {};
    case ENOENT:
    case ENOTDIR: return Failure(FileError::NoSuchFile, code);
    case EACCES:
    case EPERM: return Failure(FileError::Permission, code);
    case EROFS: return Failure(FileError::ReadOnlyFileSystem, code);
    case ENOSPC:
    case EDQUOT: return Failure(FileError::DiskFull, code);
    case EISDIR: return Failure(FileError::IsFolder, code);
    case EFBIG:
    case EOVERFLOW: return Failure(FileError::TooLarge, code);
    case ENAMETOOLONG: return Failure(FileError::NameTooLong, code);
    case ELOOP: return Failure(FileError::LinkLoop, code);
    default: return Failure(FileError::Other, code);
  }
}

std::optional<FileIdentity> Identify(const std::string& path, FileStatus* status) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (status) *status = StatusOf(errno);
    return std::nullopt;
  }
  if (status) *status = {};
  return IdentityFromStat(st);
}

// ---- reading -----------------------------------------------------------------

std::optional<InputFile> InputFile::Open(const std::string& path, FileStatus& status) {
  const Rollback undone = PutBackInterruptedRewrite(path, &status);
  if (undone == Rollback::Failed) return std::nullopt;
  // Looked at before it is opened: opening some devices already does something.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  status = KindProblem(st);
  if (!status.Ok()) return std::nullopt;
  // Non-blocking, in case a pipe took the file's place in between.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    status = S_ISREG(st.st_mode) ? Failure(FileError::NotRegular) : KindProblem(st);
    ::close(fd);
    return std::nullopt;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  status = {};
  InputFile file(fd, IdentityFromStat(st));
  file.rewriteUndone_ = undone == Rollback::PutBack;
  return file;
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(other.fd_), identity_(other.identity_), rewriteUndone_(other.rewriteUndone_) {
  other.fd_ = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    identity_ = other.identity_;
    rewriteUndone_ = other.rewriteUndone_;
    other.fd_ = -1;
  }
  return *this;
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

long InputFile::Read(char* buffer, std::size_t size, FileStatus& status) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    status = StatusOf(errno);
    return -1;
  }
}

FileStatus ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit) {
  FileStatus status;
  std::optional<InputFile> file = InputFile::Open(path, status);
  if (!file) return status;
  // A file known to be too large is refused before a byte of it is read.
  const auto size = static_cast<std::uint64_t>(std::max<std::int64_t>(file->Identity().Size, 0));
  if (size > limit) return Failure(FileError::TooLarge, EFBIG);
  bytes.assign(static_cast<std::size_t>(size), '\0');
  // One byte past the limit is room enough to see that a growing file went past it.
  const std::size_t room = limit < bytes.max_size() ? limit + 1 : limit;
  std::size_t got = 0;
  for (;;) {
    if (got == bytes.size()) bytes.resize(std::min<std::size_t>(got + kBlock, room));
    if (got == bytes.size()) return Failure(FileError::TooLarge, EFBIG);
    const long n = file->Read(bytes.data() + got, bytes.size() - got, status);
    if (n < 0) return status;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return {};
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace platform
