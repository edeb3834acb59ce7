#pragma once
// The files the program keeps for itself in its state folder (recovery
// journals, replaced versions, the locks of open files): appending with a
// flush to the disk, listing and removing them, and a lock the system drops
// when its process dies. Paths are byte strings, as in Files.h.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace platform {

// A file written only at its end and flushed to the disk on demand.
class AppendFile {
 public:
  // Makes the file anew (this user's alone), empty.
  static std::optional<AppendFile> Create(const std::string& path, FileStatus& status);

  AppendFile(AppendFile&& other) noexcept;
  AppendFile& operator=(AppendFile&& other) noexcept;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile();

  FileStatus Write(std::string_view bytes);
  // Waits until what was written is on the disk (its data, not its times).
  FileStatus Sync();

 private:
  explicit AppendFile(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// Flushes a folder's entries to the disk, so that a file just made in it
// survives a power cut.
FileStatus SyncFolder(const std::string& folder);

// Removes a file; one that is not there is fine.
FileStatus RemoveFile(const std::string& path);

// The names in a folder, without "." and ".."; empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& folder);

// The path with its links and ".." resolved, so that two names of one file
// give one answer; the path itself when it cannot be resolved.
std::string ResolvedPath(const std::string& path);

// The current time, nanoseconds since the epoch.
std::int64_t NowNs();

// An exclusive lock on a lock file, taken without waiting. The system drops
// it when the process ends in any way, so a crash leaves no stale lock. A
// lock is per open file: a second FileLock on the same path in the same
// process is refused like another process's.
class FileLock {
 public:
  enum class Outcome { Taken, HeldElsewhere, Failed };
  static std::optional<FileLock> TryTake(const std::string& path, Outcome& outcome, FileStatus& status);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace platform
