#pragma once
// The versions a save replaced: before a save puts new bytes in place of a
// grade file, the old bytes are kept in the state folder
// (STATE/versions/KEY/, KEY from the file's resolved path), the newest 20
// of each file and at most 200 MB in all, the oldest removed first. A
// version is a plain copy of the file, named by when it was replaced and
// when its bytes had been written; a "path" file beside them names the file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gradefile/EditHistory.h"
#include "platform/Files.h"
#include "platform/StateFiles.h"

class GradeBook;

struct KeptVersion {
  std::string Path;             // the copy in the state folder
  std::int64_t KeptNs = 0;      // when a save replaced these bytes
  std::int64_t WrittenNs = 0;   // when they had been written (the file's modification time then)
  std::int64_t Size = 0;
};

struct VersionLimits {
  std::size_t PerFile = 20;
  std::int64_t TotalBytes = std::int64_t{200} << 20;
};

// The versions of the grade file at `file` (any name of it), newest first.
std::vector<KeptVersion> ListVersions(const std::string& file);

// Keeps the bytes `file` holds now as its newest version, unless they are
// the newest version already, then removes what is past the limits. A file
// that does not exist has nothing to keep. Returns the failure as a message
// for the user, empty when the bytes are kept.
std::string KeepVersion(const std::string& file, const VersionLimits& limits = {});

// Removes versions past the limits: each file's oldest past PerFile, then
// the oldest of all until they take at most TotalBytes.
void PruneVersions(const VersionLimits& limits);

// Puts version `number` (1 = newest) of `file` back in its place through the
// safe writer, after keeping what the file holds now as a new version.
// Refused, touching nothing, while a window edits the file, or when the
// present bytes cannot be kept. The message says what was done or why not.
struct RestoreResult {
  bool Ok = false;
  std::string Message;
};
RestoreResult RestoreVersion(const std::string& file, int number, const VersionLimits& limits = {});

// How many records of `version` and `current` differ: a student of a course
// in one but not the other, or one whose record differs, counts once.
std::size_t DifferingRecords(const GradeBook& version, const GradeBook& current);

// The one step that turns `current` into `version` (the records rewritten
// where they differ, the header lines replaced when they differ), to open a
// version into the book as one undo step; nullopt when the two do not have
// the same records (another file, or records added since), which no step
// can bridge. Empty when they hold the same lines.
std::optional<EditStep> StepToVersion(const GradeBook& current, const GradeBook& version);

// "2026-12-09T11:15:33+08:00": a time in local time, ISO 8601.
std::string IsoTime(std::int64_t ns);

// The lock a window holds while it edits the file of this identity:
// STATE/locks/DEVICE-INODE.lock; empty when there is no state folder.
std::string EditLockPathFor(const platform::FileIdentity& file);

// Takes the edit lock of the file at `path`. Taken: the lock; HeldElsewhere:
// another window or program edits it; Failed: `status` says why (the state
// folder cannot be written), and nobody can tell.
std::optional<platform::FileLock> TakeEditLock(const std::string& path, platform::FileLock::Outcome& outcome,
                                               platform::FileStatus& status);
