// The rollback journal of in-place rewrites on POSIX: written by
// OutputFile's in-place commit, read back by InputFile::Open.
#include "platform/RewriteJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Folders.h"
#include "platform/PosixFiles.h"

namespace platform {

using posix::FolderOf;
using posix::kBlock;
using posix::NameOf;
using posix::WriteAllAt;

namespace {

constexpr std::string_view kStartMark = "GSRBJ001";
constexpr std::string_view kEndMark = "GSRBJEND";
constexpr std::size_t kHeadSize = 8 + 4 * 8;
constexpr std::size_t kTailSize = 8 + 8;

// A running writer holds its journal for as long as a rewrite takes; a
// reader waits this long for it before reading the file as it stands.
constexpr auto kWaitForWriter = std::chrono::seconds(3);

class Fnv {
 public:
  void Add(std::string_view bytes) {
    for (const char c : bytes) {
      hash_ ^= static_cast<unsigned char>(c);
      hash_ *= 0x100000001b3ULL;
    }
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void PutNumber(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

std::uint64_t NumberAt(std::string_view bytes, std::size_t at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

std::string Head(std::uint64_t device, std::uint64_t inode, std::uint64_t size) {
  std::string head(kStartMark);
  PutNumber(head, device);
  PutNumber(head, inode);
  PutNumber(head, size);
  Fnv check;
  check.Add(head);
  PutNumber(head, check.Value());
  return head;
}

std::string Tail(std::uint64_t check) {
  std::string tail;
  PutNumber(tail, check);
  tail.append(kEndMark);
  return tail;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Reads exactly `size` bytes at `offset`; false on an error or an early end.
bool ReadAt(int fd, char* into, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, into, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    into += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

// Takes the journal's lock, waiting up to `wait` for a writer that holds
// it; true once held and the name still names the open file (nobody removed
// it in between).
bool LockJournal(int fd, const std::string& path, std::chrono::steady_clock::duration wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  struct stat held {}, named {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
         held.st_dev == named.st_dev;
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

// Undoes the rewrite of the file `target` from the journal open on `fd`,
// locked, at `path`.
Rollback PutBackFrom(int fd, const std::string& path, const std::string& target, const struct stat& file,
                     FileStatus* status) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Rollback::None;
  std::string head(kHeadSize, '\0');
  if (static_cast<std::size_t>(st.st_size) >= kHeadSize && ReadAt(fd, head.data(), kHeadSize, 0) &&
      head.compare(0, kStartMark.size(), kStartMark) == 0 &&
      (NumberAt(head, 8) != static_cast<std::uint64_t>(file.st_dev) ||
       NumberAt(head, 16) != static_cast<std::uint64_t>(file.st_ino)))
    return Rollback::None;  // of another file once under this name: not this file's to undo
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::optional<JournalContents> journal;
  if (ReadAt(fd, bytes.data(), bytes.size(), 0)) journal = ReadJournal(bytes);
  if (!journal) {
    // Cut short before the file was touched: nothing to undo.
    ::unlink(path.c_str());
    return Rollback::None;
  }
  const int out = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  struct stat opened {};
  if (out < 0 || ::fstat(out, &opened) != 0 || opened.st_ino != file.st_ino || opened.st_dev != file.st_dev ||
      !WriteAllAt(out, journal->OldBytes, 0) ||
      ::ftruncate(out, static_cast<off_t>(journal->OldBytes.size())) != 0 || ::fsync(out) != 0) {
    if (status) *status = StatusOf(errno != 0 ? errno : EIO);
    if (out >= 0) ::close(out);
    return Rollback::Failed;
  }
  ::close(out);
  ::unlink(path.c_str());
  SyncFolder(FolderOf(path));
  return Rollback::PutBack;
}

}  // namespace

std::string JournalBytes(std::uint64_t device, std::uint64_t inode, std::string_view oldBytes) {
  Fnv check;
  check.Add(oldBytes);
  std::string out = Head(device, inode, oldBytes.size());
  out.append(oldBytes);
  out += Tail(check.Value());
  return out;
}

std::optional<JournalContents> ReadJournal(std::string_view bytes) {
  if (bytes.size() < kHeadSize + kTailSize || bytes.substr(0, kStartMark.size()) != kStartMark) return std::nullopt;
  JournalContents journal;
  journal.Device = NumberAt(bytes, 8);
  journal.Inode = NumberAt(bytes, 16);
  const std::uint64_t size = NumberAt(bytes, 24);
  if (Head(journal.Device, journal.Inode, size) != bytes.substr(0, kHeadSize)) return std::nullopt;
  if (size != bytes.size() - kHeadSize - kTailSize) return std::nullopt;
  journal.OldBytes = bytes.substr(kHeadSize, static_cast<std::size_t>(size));
  Fnv check;
  check.Add(journal.OldBytes);
  if (bytes.substr(kHeadSize + journal.OldBytes.size()) != Tail(check.Value())) return std::nullopt;
  return journal;
}

std::string JournalBeside(const std::string& path) {
  return FolderOf(path) + "/." + NameOf(path).substr(0, posix::kNameKept) + ".gs-journal";
}

std::string JournalInStateFolder(std::uint64_t device, std::uint64_t inode) {
  const std::string folder = StateFolder();
  if (folder.empty()) return {};
  return folder + "rewrite-" + Hex(device) + "-" + Hex(inode) + ".journal";
}

std::string JournalInTempFolder(std::uint64_t device, std::uint64_t inode) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
  return folder + "/gradesheet-" + std::to_string(::geteuid()) + "-rewrite-" + Hex(device) + "-" + Hex(inode) +
         ".journal";
}

Rollback PutBackInterruptedRewrite(const std::string& path, FileStatus* status) {
  std::string target = path;
  FileStatus resolved;
  if (!posix::ResolveLinks(target, resolved)) return Rollback::None;
  struct stat file {};
  if (::stat(target.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) return Rollback::None;
  for (const std::string& journal :
       {JournalBeside(target), JournalInStateFolder(file.st_dev, file.st_ino),
        JournalInTempFolder(file.st_dev, file.st_ino)}) {
    if (journal.empty()) continue;
    const int fd = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    Rollback done = Rollback::None;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        LockJournal(fd, journal, kWaitForWriter))
      done = PutBackFrom(fd, journal, target, file, status);
    ::close(fd);
    if (done != Rollback::None) return done;
  }
  return Rollback::None;
}

namespace posix {

std::optional<KeptJournal> KeptJournal::Keep(const std::string& path, int target, const FileIdentity& old,
                                            int& error) {
  KeptJournal kept;
  kept.oldSize_ = old.Size;
  auto create = [&](const std::string& where) {
    for (int attempt = 0; attempt < 16; ++attempt) {
      const int fd = ::open(where.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd < 0) return -1;
      if (LockJournal(fd, where, kWaitForWriter)) return fd;
      ::close(fd);
    }
    errno = EBUSY;
    return -1;
  };
  // A folder this user may not write: the next place keeps the journal.
  const std::string places[] = {JournalBeside(path), JournalInStateFolder(old.Device, old.Inode),
                                JournalInTempFolder(old.Device, old.Inode)};
  for (const std::string& place : places) {
    if (place.empty() || !CreateFolders(FolderOf(place)).Ok()) continue;
    kept.path_ = place;
    kept.fd_ = create(place);
    if (kept.fd_ >= 0 || (errno != EACCES && errno != EPERM && errno != EROFS)) break;
  }
  if (kept.fd_ < 0) {
    error = errno;
    return std::nullopt;
  }
  // Written in order, then synced: the file is touched only after the whole
  // journal, and its name, are on the disk.
  bool ok = ::ftruncate(kept.fd_, 0) == 0 && WriteAll(kept.fd_, Head(old.Device, old.Inode, old.Size));
  Fnv check;
  std::vector<char> block(kBlock);
  for (std::int64_t offset = 0; ok && offset < old.Size;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(old.Size - offset, kBlock));
    ok = ReadAt(target, block.data(), n, offset) && WriteAll(kept.fd_, std::string_view(block.data(), n));
    check.Add(std::string_view(block.data(), n));
    offset += static_cast<std::int64_t>(n);
  }
  ok = ok && WriteAll(kept.fd_, Tail(check.Value())) && ::fsync(kept.fd_) == 0;
  if (!ok) {
    error = errno != 0 ? errno : EIO;
    return std::nullopt;  // removed by the destructor
  }
  SyncFolder(FolderOf(kept.path_));
  return kept;
}

KeptJournal::KeptJournal(KeptJournal&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), oldSize_(other.oldSize_) {
  other.fd_ = -1;
}

KeptJournal::~KeptJournal() {
  Remove();
  Leave();
}

bool KeptJournal::PutBack(int target) const {
  std::vector<char> block(kBlock);
  for (std::int64_t offset = 0; offset < oldSize_;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(oldSize_ - offset, kBlock));
    if (!ReadAt(fd_, block.data(), n, static_cast<off_t>(kHeadSize + offset)) ||
        !WriteAllAt(target, std::string_view(block.data(), n), offset))
      return false;
    offset += static_cast<std::int64_t>(n);
  }
  return ::ftruncate(target, oldSize_) == 0 && ::fsync(target) == 0;
}

bool KeptJournal::Remove() {
  if (fd_ < 0) return true;
  if (::unlink(path_.c_str()) == 0) {
    SyncFolder(FolderOf(path_));
  } else if (::ftruncate(fd_, 0) != 0 || ::fsync(fd_) != 0) {
    return false;  // still whole: the old bytes can be put back from it
  }
  // A journal that could not be removed was emptied: torn, it undoes nothing.
  Leave();
  return true;
}

void KeptJournal::Leave() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace posix
}  // namespace platform
