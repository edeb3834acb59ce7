// The safe writer on POSIX, with Linux's unnamed temporary files
// (O_TMPFILE) where the kernel and the file system have them and named ones
// where they do not.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/Files.h"
#include "platform/PosixFiles.h"
#include "platform/RewriteJournal.h"

namespace platform {

using posix::Failure;
using posix::FolderOf;
using posix::IdentityFromStat;
using posix::kNameKept;
using posix::NameOf;
using posix::ResolveLinks;
using posix::kBlock;
using posix::KindProblem;

// Follows symbolic links to the file a write must land in, also when the
// link points to a file that does not exist yet.
bool posix::ResolveLinks(std::string& path, FileStatus& status) {
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

namespace {

// Temporary files beside a target are named ".NAME.gs-" and eight letters
// or digits, the name cut so that the whole stays within a file name's 255
// bytes. A writer holds an exclusive flock on its temporary file from the
// moment it has a name until it is renamed or removed, so a named one that
// nobody holds was left by a writer that died and may be removed.
constexpr std::size_t kSuffixLength = 8;

std::string TempPrefix(const std::string& name) { return "." + name.substr(0, kNameKept) + ".gs-"; }

// A fresh temporary name beside the target.
std::string FreshName(const std::string& folder, const std::string& name) {
  static std::mt19937_64 random{std::random_device{}()};
  static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (std::size_t i = 0; i < kSuffixLength; ++i) suffix += digits[random() % (sizeof digits - 1)];
  return folder + "/" + TempPrefix(name) + suffix;
}

// Removes the temporary files of `name` in `folder` that writers killed
// between naming and renaming them left behind. Only this user's regular
// files that no running writer holds go; any doubt leaves a file alone.
void RemoveLeftovers(const std::string& folder, const std::string& name) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  DIR* listing = ::fdopendir(dir);
  if (listing == nullptr) {
    ::close(dir);
    return;
  }
  const std::string prefix = TempPrefix(name);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view entryName = entry->d_name;
    if (entryName.size() != prefix.size() + kSuffixLength || entryName.substr(0, prefix.size()) != prefix)
      continue;
    const int fd = ::openat(dir, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dir, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
        named.st_dev == held.st_dev)
      ::unlinkat(dir, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(listing);
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
    if (!posix::WriteAllAt(to, std::string_view(block.data(), static_cast<std::size_t>(n)), offset)) return false;
    offset += n;
  }
  return true;
}

// Gives an unnamed temporary file the name `name`.
bool LinkUnnamed(int fd, const std::string& name) {
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno == EEXIST) return false;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

// ---- writing -----------------------------------------------------------------

std::optional<OutputFile> OutputFile::Begin(const std::string& target, FileStatus& status) {
  OutputFile out;
  out.target_ = target;
  if (!ResolveLinks(out.target_, status)) return std::nullopt;
  const std::string folder = FolderOf(out.target_);
  const std::string name = NameOf(out.target_);

  struct stat st {};
  if (::stat(out.target_.c_str(), &st) == 0) {
    status = KindProblem(st);
    if (!status.Ok()) return std::nullopt;
    out.hadTarget_ = true;
    out.mode_ = st.st_mode & 07777;
    const uid_t me = ::geteuid();
    const bool mine = st.st_uid == me;
    // A file nobody may write, or whose owner may not, is read-only on
    // purpose; the superuser could write it but should not.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || (mine && (st.st_mode & S_IWUSR) == 0)) {
      status = Failure(FileError::ReadOnlyFile, EACCES);
      return std::nullopt;
    }
    // What the system says beyond the mode bits: a read-only disk, an
    // immutable file, group membership, access lists.
    if (::faccessat(AT_FDCWD, out.target_.c_str(), W_OK, AT_EACCESS) != 0) {
      const int code = errno;
      if (code == EROFS) status = StatusOf(code);
      else status = Failure(mine || me == 0 ? FileError::ReadOnlyFile : FileError::NotOwner, code);
      return std::nullopt;
    }
    // Replacing another user's file would make it this user's: only an
    // in-place write keeps it theirs.
    if (!mine && me != 0) out.inPlace_ = true;
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
    for (int attempt = 0;; ++attempt) {
      std::string named = FreshName(where, name);
      const int fd = ::open(named.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd >= 0) {
        ::flock(fd, LOCK_EX | LOCK_NB);
        out.tempName_ = std::move(named);
        return fd;
      }
      if (errno != EEXIST || attempt > 16) return -1;
    }
  };
  RemoveLeftovers(folder, name);
  out.fd_ = openTemp(folder);
  if (out.fd_ < 0 && out.hadTarget_ && (errno == EACCES || errno == EPERM)) {
    // A folder this user may not create files in, holding a file this user
    // may write (checked above): the file can still be rewritten in place.
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
    written_ = other.written_;
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

FileStatus OutputFile::AbandonWith(int code) {
  const FileStatus why = StatusOf(code);
  Abandon();
  return why;
}

FileStatus OutputFile::Commit() {
  if (done_) return Failure(FileError::Other, EBADF);
  if (!failed_.Ok()) {
    const FileStatus why = failed_;
    Abandon();
    return why;
  }
  if (::fsync(fd_) != 0) return AbandonWith(errno);
  return inPlace_ ? CommitInPlace() : CommitByRename();
}

FileStatus OutputFile::CommitInPlace() {
  struct stat temp {};
  if (::fstat(fd_, &temp) != 0) return AbandonWith(errno);
  const std::int64_t size = temp.st_size;
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<std::uint64_t>(size) > limit.rlim_cur)
    return AbandonWith(EFBIG);
  const int target = ::open(target_.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (target < 0) return AbandonWith(errno);
  struct stat old {};
  if (::fstat(target, &old) != 0 || !S_ISREG(old.st_mode)) {
    const int code = errno != 0 ? errno : EINVAL;
    ::close(target);
    return AbandonWith(code);
  }
  // The old bytes go to a synced journal before a byte of the file
  // changes: a failure puts them back here, a kill at the next open.
  int journalError = 0;
  std::optional<posix::KeptJournal> journal =
      posix::KeptJournal::Keep(target_, target, IdentityFromStat(old), journalError);
  if (!journal) {
    ::close(target);
    return AbandonWith(journalError);
  }
  // Space first: a full disk fails here, before a byte of the file changes.
  if (size > old.st_size) {
    const int reserved = ::posix_fallocate(target, 0, static_cast<off_t>(size));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
      ::ftruncate(target, old.st_size);
      ::close(target);
      return AbandonWith(reserved);
    }
  }
  struct stat written {};
  if (!CopyInto(fd_, target, size) || ::ftruncate(target, static_cast<off_t>(size)) != 0 ||
      ::fsync(target) != 0 || ::fstat(target, &written) != 0 || !journal->Remove()) {
    const int code = errno;
    if (!journal->PutBack(target)) journal->Leave();
    ::close(target);
    return AbandonWith(code);
  }
  if (::close(target) != 0) return AbandonWith(errno);
  written_ = IdentityFromStat(written);
  Abandon();
  return {};
}

FileStatus OutputFile::CommitByRename() {
  const std::string folder = FolderOf(target_);
  if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) return AbandonWith(errno);
  struct stat old {};
  if (hadTarget_ && ::stat(target_.c_str(), &old) == 0) {
    // The new file keeps what protects the old: the superuser keeps its
    // owner, anyone its group, then its access list and other extended
    // attributes. Where one cannot be kept (a group this user is not in, a
    // file system that refuses an attribute), replacing the file would widen
    // or change who may read it: it is rewritten in place instead, which
    // keeps them all. A change of owner clears the set-id bits, so the mode
    // is put again.
    const bool root = ::geteuid() == 0;
    if (::fchown(fd_, root ? old.st_uid : static_cast<uid_t>(-1), old.st_gid) != 0 ||
        ::fchmod(fd_, static_cast<mode_t>(mode_)) != 0 || !posix::CopyExtendedAttributes(target_, fd_))
      return CommitInPlace();
  }
  std::string linked = tempName_;
  if (linked.empty()) {
    // An unnamed file gets its name only now that it is complete, held so
    // that no other writer takes it for a leftover.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    for (int attempt = 0;; ++attempt) {
      linked = FreshName(folder, NameOf(target_));
      if (LinkUnnamed(fd_, linked)) break;
      if (errno != EEXIST || attempt > 16) return AbandonWith(errno);
    }
    tempName_ = linked;  // removed by Abandon should the rename fail
  }
  // Named and renamed one right after the other: a program killed between
  // the two leaves a temporary file, which its next save removes.
  if (::rename(linked.c_str(), target_.c_str()) != 0) return AbandonWith(errno);
  tempName_.clear();
  struct stat written {};
  if (::fstat(fd_, &written) == 0) written_ = IdentityFromStat(written);
  // The new name itself is on the disk once the folder is.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  ::close(fd_);  // flushed already: nothing of the file depends on this
  fd_ = -1;
  done_ = true;
  return {};
}

FileStatus WriteWholeFile(const std::string& target, std::string_view bytes) {
  FileStatus status;
  std::optional<OutputFile> out = OutputFile::Begin(target, status);
  if (!out) return status;
  out->Write(bytes);
  return out->Commit();
}

}  // namespace platform
