// POSIX files, with Linux's unnamed temporary files (O_TMPFILE) where the
// kernel and the file system have them and named ones where they do not.
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <random>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t kBlock = 1 << 18;

FileIdentity IdentityFromStat(const struct stat& st) {
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

FileStatus Failure(FileError error, int code = 0) { return FileStatus{error, code}; }

bool InGroup(gid_t gid) {
  if (gid == ::getegid()) return true;
  const int n = ::getgroups(0, nullptr);
  if (n <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(n));
  const int got = ::getgroups(n, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<std::size_t>(i)] == gid) return true;
  return false;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file a write must land in, also when the
// link points to a file that does not exist yet.
bool ResolveLinks(std::string& path, FileStatus& status) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) {
      status = StatusOf(errno);
      return false;
    }
    std::string link(buffer.data(), static_cast<std::size_t>(n));
    path = (!link.empty() && link[0] == '/') ? link : FolderOf(path) + "/" + link;
  }
  status = Failure(FileError::LinkLoop, ELOOP);
  return false;
}

// A fresh hidden name beside the target for linking the finished file in.
std::string FreshName(const std::string& folder, const std::string& name) {
  static std::mt19937_64 random{std::random_device{}()};
  static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 8; ++i) suffix += digits[random() % (sizeof digits - 1)];
  return folder + "/." + name + ".gs-" + suffix;
}

bool WriteAllAt(int fd, const char* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

// Copies `size` bytes of `from` (from its start) over the start of `to`.
bool CopyInto(int from, int to, std::int64_t size) {
  std::vector<char> block(kBlock);
  off_t offset = 0;
  while (offset < size) {
    const ssize_t n = ::pread(from, block.data(), block.size(), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;  // the temporary file is shorter than what was written to it
      return false;
    }
    if (!WriteAllAt(to, block.data(), static_cast<std::size_t>(n), offset)) return false;
    offset += n;
  }
  return true;
}

}  // namespace

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
  // Looked at before it is opened: opening some devices already does something.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  if (S_ISDIR(st.st_mode)) {
    status = Failure(FileError::IsFolder, EISDIR);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    status = Failure(FileError::NotRegular);
    return std::nullopt;
  }
  // Non-blocking, in case a pipe took the file's place in between.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    status = S_ISDIR(st.st_mode) ? Failure(FileError::IsFolder, EISDIR) : Failure(FileError::NotRegular);
    ::close(fd);
    return std::nullopt;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  status = {};
  return InputFile(fd, IdentityFromStat(st));
}

InputFile::InputFile(InputFile&& other) noexcept : fd_(other.fd_), identity_(other.identity_) {
  other.fd_ = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    identity_ = other.identity_;
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
  bytes.clear();
  std::vector<char> block(kBlock);
  for (;;) {
    const long n = file->Read(block.data(), block.size(), status);
    if (n < 0) return status;
    if (n == 0) return {};
    if (bytes.size() + static_cast<std::size_t>(n) > limit) return Failure(FileError::TooLarge, EFBIG);
    bytes.append(block.data(), static_cast<std::size_t>(n));
  }
}

// ---- writing -----------------------------------------------------------------

std::optional<OutputFile> OutputFile::Begin(const std::string& target, FileStatus& status) {
  OutputFile out;
  out.target_ = target;
  if (!ResolveLinks(out.target_, status)) return std::nullopt;
  const std::string folder = FolderOf(out.target_);

  struct stat st {};
  if (::stat(out.target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      status = Failure(FileError::IsFolder, EISDIR);
      return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
      status = Failure(FileError::NotRegular);
      return std::nullopt;
    }
    out.hadTarget_ = true;
    out.mode_ = st.st_mode & 07777;
    const uid_t me = ::geteuid();
    const bool mine = st.st_uid == me;
    mode_t writeBit = S_IWOTH;
    if (mine) writeBit = S_IWUSR;
    else if (InGroup(st.st_gid)) writeBit = S_IWGRP;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || (mine && (st.st_mode & S_IWUSR) == 0)) {
      status = Failure(FileError::ReadOnlyFile, EACCES);
      return std::nullopt;
    }
    if (!mine && me != 0) {
      // Replacing another user's file would make it this user's: only an
      // in-place write keeps it theirs, and only their permission allows one.
      if ((st.st_mode & writeBit) == 0) {
        status = Failure(FileError::NotOwner, EACCES);
        return std::nullopt;
      }
      out.inPlace_ = true;
    }
    if (st.st_nlink > 1) out.inPlace_ = true;
  } else if (errno != ENOENT) {
    status = StatusOf(errno);
    return std::nullopt;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    out.mode_ = 0666 & ~mask;
  }

  auto openTemp = [&](const std::string& where) -> int {
#ifdef O_TMPFILE
    const int fd = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return -1;
#endif
    std::string name = where + "/." + NameOf(out.target_) + ".XXXXXX";
    const int named = ::mkstemp(name.data());
    if (named >= 0) out.tempName_ = name;
    return named;
  };
  out.fd_ = openTemp(folder);
  if (out.fd_ < 0 && out.hadTarget_ && (errno == EACCES || errno == EPERM) &&
      ::access(out.target_.c_str(), W_OK) == 0) {
    // A folder this user may not create files in, holding a file this user
    // may write: the file can still be rewritten in place.
    out.inPlace_ = true;
    const char* tmp = std::getenv("TMPDIR");
    out.fd_ = openTemp(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
  }
  if (out.fd_ < 0) {
    status = StatusOf(errno);
    return std::nullopt;
  }
  status = {};
  return out;
}

OutputFile::OutputFile(OutputFile&& other) noexcept { *this = std::move(other); }

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    if (!done_ && fd_ >= 0) Abandon();
    fd_ = other.fd_;
    target_ = std::move(other.target_);
    tempName_ = std::move(other.tempName_);
    inPlace_ = other.inPlace_;
    hadTarget_ = other.hadTarget_;
    failed_ = other.failed_;
    mode_ = other.mode_;
    done_ = other.done_;
    other.fd_ = -1;
    other.tempName_.clear();
    other.done_ = true;
  }
  return *this;
}

OutputFile::~OutputFile() {
  if (!done_) Abandon();
}

bool OutputFile::Write(std::string_view bytes) {
  if (!failed_.Ok() || done_) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = StatusOf(errno);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string OutputFile::WritablePath() const {
  if (!tempName_.empty()) return tempName_;
  return "/proc/self/fd/" + std::to_string(fd_);
}

void OutputFile::Fail(const FileStatus& status) {
  if (failed_.Ok()) failed_ = status.Ok() ? Failure(FileError::Other, EIO) : status;
}

void OutputFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempName_.empty()) ::unlink(tempName_.c_str());
  tempName_.clear();
  done_ = true;
}

FileStatus OutputFile::Commit() {
  if (done_) return Failure(FileError::Other, EBADF);
  if (!failed_.Ok()) {
    const FileStatus why = failed_;
    Abandon();
    return why;
  }
  auto abandon = [&](int code) {
    const FileStatus why = StatusOf(code);
    Abandon();
    return why;
  };
  if (::fsync(fd_) != 0) return abandon(errno);
  const std::string folder = FolderOf(target_);

  if (inPlace_) {
    struct stat temp {};
    if (::fstat(fd_, &temp) != 0) return abandon(errno);
    const std::int64_t size = temp.st_size;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<std::uint64_t>(size) > limit.rlim_cur)
      return abandon(EFBIG);
    const int target = ::open(target_.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (target < 0) return abandon(errno);
    struct stat old {};
    if (::fstat(target, &old) != 0 || !S_ISREG(old.st_mode)) {
      const int code = errno != 0 ? errno : EINVAL;
      ::close(target);
      return abandon(code);
    }
    // The old bytes, to put back if the rewrite fails half-way.
    std::string previous;
    previous.resize(static_cast<std::size_t>(old.st_size));
    for (std::size_t got = 0; got < previous.size();) {
      const ssize_t n = ::pread(target, previous.data() + got, previous.size() - got, static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        const int code = n < 0 ? errno : EIO;
        ::close(target);
        return abandon(code);
      }
      got += static_cast<std::size_t>(n);
    }
    // Space first: a full disk fails here, before a byte of the file changes.
    if (size > old.st_size) {
      const int reserved = ::posix_fallocate(target, 0, static_cast<off_t>(size));
      if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
        ::ftruncate(target, old.st_size);
        ::close(target);
        return abandon(reserved);
      }
    }
    if (!CopyInto(fd_, target, size) || ::ftruncate(target, static_cast<off_t>(size)) != 0 ||
        ::fsync(target) != 0) {
      const int code = errno;
      WriteAllAt(target, previous.data(), previous.size(), 0);
      ::ftruncate(target, old.st_size);
      ::fsync(target);
      ::close(target);
      return abandon(code);
    }
    if (::close(target) != 0) return abandon(errno);
    Abandon();
    return {};
  }

  if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) return abandon(errno);
  if (hadTarget_) {
    struct stat old {};
    // The superuser keeps the owner of the file it replaces.
    if (::stat(target_.c_str(), &old) == 0 && ::geteuid() == 0)
      [[maybe_unused]] int kept = ::fchown(fd_, old.st_uid, old.st_gid);
  }
  std::string linked = tempName_;
  if (linked.empty()) {
    // An unnamed file gets its name only now that it is complete.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0;; ++attempt) {
      linked = FreshName(folder, NameOf(target_));
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, linked.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      if (errno != EEXIST || attempt > 16) return abandon(errno);
    }
    tempName_ = linked;  // removed by Abandon should anything below fail
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return abandon(errno);
  if (::rename(linked.c_str(), target_.c_str()) != 0) return abandon(errno);
  tempName_.clear();
  done_ = true;
  // The new name itself is on the disk once the folder is.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

FileStatus WriteWholeFile(const std::string& target, std::string_view bytes) {
  FileStatus status;
  std::optional<OutputFile> out = OutputFile::Begin(target, status);
  if (!out) return status;
  out->Write(bytes);
  return out->Commit();
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace platform
