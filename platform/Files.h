#pragma once
// The operating system's side of files: identity, reading without blocking,
// and the one safe way every file of the programs is written. Everything a
// port to another system must replace is here and in the two files behind it
// (POSIX, with Linux's unnamed temporary files where the kernel has them):
// Files.cpp (status, identity, reading) and OutputFile.cpp (writing).
//
// Paths are byte strings as the system names files (on POSIX the bytes of
// argv or of QFile::encodeName); nothing here converts them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Why a file operation failed, in the few kinds the user is told about.
enum class FileError {
  None,
  NoSuchFile,          // the file or a folder on its path does not exist
  Permission,          // the system refused access
  ReadOnlyFile,        // the file's own permissions forbid writing it
  NotOwner,            // another user's file that this user cannot write in place
  ReadOnlyFileSystem,  // the disk is mounted read-only
  DiskFull,            // no space left, or the quota is used up
  IsFolder,            // a folder where a file was expected
  NotRegular,          // a pipe, device or socket where a file was expected
  TooLarge,            // beyond the file size the system allows this process
  NameTooLong,         // the name or the path is too long
  LinkLoop,            // symbolic links that point round in a circle
  Busy,                // another program is writing the file (WriteLock)
  Other,               // anything else; Code tells what
};

struct FileStatus {
  FileError Error = FileError::None;
  int Code = 0;  // the system's error number, 0 when none
  bool Ok() const { return Error == FileError::None; }
};

// The status of a system error number.
FileStatus StatusOf(int code);

// What tells one file from another and one version of a file from the next.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t ModifiedNs = 0;  // last modification, nanoseconds since the epoch
  std::uint64_t Links = 0;      // hard links to the file
  bool Regular = false;
  bool Folder = false;

  bool SameFile(const FileIdentity& other) const {
    return Device == other.Device && Inode == other.Inode;
  }
  // The same file with the same size and modification time: nobody has
  // written it in between.
  bool SameVersion(const FileIdentity& other) const {
    return SameFile(other) && Size == other.Size && ModifiedNs == other.ModifiedNs;
  }
};

// The identity of the file a path names, following symbolic links; nullopt
// with `status` set when there is none.
std::optional<FileIdentity> Identify(const std::string& path, FileStatus* status = nullptr);

// A regular file opened for reading. Opening never blocks: a pipe, device
// or socket is refused with NotRegular before a byte is read. A rewrite in
// place of the file that a killed program left half done is undone first
// (platform/RewriteJournal.h); one that cannot be undone fails the opening.
class InputFile {
 public:
  static std::optional<InputFile> Open(const std::string& path, FileStatus& status);

  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Reads up to `size` bytes: the count, 0 at the end, -1 on an error (with
  // `status` set). Interrupted reads are retried.
  long Read(char* buffer, std::size_t size, FileStatus& status);

  // The identity of the file as opened.
  const FileIdentity& Identity() const { return identity_; }

  // True when opening put back the old bytes of an interrupted rewrite.
  bool RewriteUndone() const { return rewriteUndone_; }

 private:
  InputFile(int fd, const FileIdentity& identity) : fd_(fd), identity_(identity) {}
  int fd_ = -1;
  FileIdentity identity_;
  bool rewriteUndone_ = false;
};

// Reads a whole regular file, at most `limit` bytes (more is TooLarge).
FileStatus ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit);

// A file being written. The bytes go to a temporary file in the target's
// folder that the system removes by itself if the program dies before
// Commit; Commit then puts the whole new file in place of the target at
// once, so the target always holds either its old bytes or all the new ones.
//
// A target with more than one hard link, or one that belongs to another user
// but may be written by this one, is rewritten in place instead (replacing
// it would cut the links or take the file over). Before a byte of it
// changes, the space is reserved, so a full disk leaves it as it was.
//
// Begin refuses, touching nothing, a target whose permissions forbid this
// user to write it (ReadOnlyFile; also for the superuser, who could but
// should not), another user's file this user cannot write (NotOwner), and a
// folder, pipe or device (IsFolder, NotRegular). A symbolic link is followed:
// the file it points to is the one written.
//
// The one moment the system cannot cover is between naming the finished
// file beside the target and renaming it over the target: a program killed
// there leaves a hidden ".NAME.gs-XXXXXXXX" beside the target (the target
// itself is whole, old or new). Where the file system has no unnamed
// temporary files, that name exists from Begin on, so the moment is the
// whole write. Begin removes such leftovers of the target that no running
// writer holds.
class OutputFile {
 public:
  static std::optional<OutputFile> Begin(const std::string& target, FileStatus& status);

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // abandons what was not committed

  // Appends bytes; false once any write has failed (later writes do
  // nothing and Commit reports the first failure).
  bool Write(std::string_view bytes);

  // The temporary file's descriptor, for writers that take one (Qt's QFile
  // opened on it without closing it). Commit sees their failures only
  // through the file's final size and the flush: such writers must report
  // their own errors, which the caller passes to Fail.
  int Descriptor() const { return fd_; }

  // A name under which a library that insists on opening a file by name
  // (and truncating it) can write the temporary file.
  std::string WritablePath() const;

  // Marks the output as failed, with the writer's own reason; Commit then
  // abandons it and returns this status.
  void Fail(const FileStatus& status);

  // Flushes the new bytes to the disk and puts them in place of the target.
  // On failure the target is untouched (or, written in place, restored) and
  // the temporary file is gone.
  FileStatus Commit();

  // Throws away what was written; the target stays as it was.
  void Abandon();

  // The file that will be replaced (the target with its links resolved).
  const std::string& Target() const { return target_; }

  // The identity of the file as this writer left it, after a successful
  // Commit: what a later look at the file compares with to tell whether
  // someone else wrote it since.
  const FileIdentity& WrittenIdentity() const { return written_; }

 private:
  OutputFile() = default;
  FileStatus AbandonWith(int code);
  FileStatus CommitInPlace();
  FileStatus CommitByRename();

  int fd_ = -1;
  std::string target_;    // resolved target path
  std::string tempName_;  // named temporary file (no unnamed ones here), else empty
  bool inPlace_ = false;  // rewrite the target's own bytes on Commit
  bool hadTarget_ = false;
  FileStatus failed_;
  FileIdentity written_;
  std::uint32_t mode_ = 0;
  bool done_ = false;
};

// Writes `bytes` as the whole new content of `target` through OutputFile.
FileStatus WriteWholeFile(const std::string& target, std::string_view bytes);

// A file-size limit (ulimit -f) makes the system kill a process that writes
// past it; ignored, the write fails with TooLarge and the user is told.
void IgnoreFileSizeSignal();

// Whether standard error is a terminal (where a progress line may be redrawn).
bool StandardErrorIsTerminal();

}  // namespace platform
