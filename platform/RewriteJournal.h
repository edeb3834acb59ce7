#pragma once
// The rollback journal of a file rewritten in place. Before the first byte
// of such a file changes, its old bytes are written to a journal and
// synced; the file is then rewritten and synced, and the journal removed.
// A program killed in between leaves the whole journal, from which the next
// opening of the file (InputFile::Open) puts the old bytes back: the file is
// always whole old or whole new bytes. A journal cut short by a kill while
// it was being written is torn: the file was not touched yet, and the
// journal is ignored and removed.
//
// The journal stands beside the file as ".NAME.gs-journal", or, where the
// file's folder cannot be written, in the state folder as
// "rewrite-DEVICE-INODE.journal", or, where that cannot be made either (a
// home folder this user may not write), in the temporary folder as
// "gradesheet-UID-rewrite-DEVICE-INODE.journal" (safe against a kill, not
// against a restart that empties that folder). A writer holds an exclusive flock on the
// journal from its creation to its removal, so that nobody puts back bytes
// under a running rewrite.
//
// Its bytes: the 8-byte mark "GSRBJ001", the file's device, inode and old
// size and a check of these (each 8 bytes, little-endian), the old bytes, a
// check of them, and the end mark "GSRBJEND". The checks are 64-bit FNV-1a.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace platform {

// What a whole journal holds.
struct JournalContents {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::string_view OldBytes;  // into the bytes read
};

// The journal's bytes as written, for these old bytes of this file.
std::string JournalBytes(std::uint64_t device, std::uint64_t inode, std::string_view oldBytes);

// Reads a journal's bytes: nullopt when they are not a whole journal
// (torn, cut, or something else under the name).
std::optional<JournalContents> ReadJournal(std::string_view bytes);

// The places a journal of the file `path` (links resolved) may stand, in
// the order they are tried.
std::string JournalBeside(const std::string& path);
std::string JournalInStateFolder(std::uint64_t device, std::uint64_t inode);
std::string JournalInTempFolder(std::uint64_t device, std::uint64_t inode);

enum class Rollback {
  None,     // no journal of this file, or a torn one (removed)
  PutBack,  // an interrupted rewrite was undone: the file has its old bytes again
  Failed,   // a whole journal whose bytes could not be put back (kept for a later try)
};

// Puts back an interrupted rewrite of the file `path` names, from a whole
// journal of that very file (device and inode); a journal a running writer
// holds is waited for a moment and otherwise left alone. `status` says why
// on Failed.
Rollback PutBackInterruptedRewrite(const std::string& path, FileStatus* status = nullptr);

namespace posix {

// The writer's side: the old bytes of the open file `target` (named by
// `path`, links resolved; `old` its identity) kept in a synced journal. Open until Remove; a
// journal dropped without Remove (a failed rewrite that put the old bytes
// back itself) is removed as well.
class KeptJournal {
 public:
  static std::optional<KeptJournal> Keep(const std::string& path, int target, const FileIdentity& old, int& error);
  KeptJournal(KeptJournal&& other) noexcept;
  KeptJournal& operator=(KeptJournal&&) = delete;
  ~KeptJournal();

  // Writes the old bytes back over `target` and cuts it to its old size.
  bool PutBack(int target) const;
  // Removes the journal once the new bytes are on the disk: after this, the
  // next open keeps them. False (the journal still open and whole) when it
  // could be neither removed nor emptied.
  bool Remove();
  // Closes the journal and leaves it whole, for the next open to put the
  // old bytes back where this program could not.
  void Leave();

 private:
  KeptJournal() = default;
  int fd_ = -1;
  std::string path_;
  std::int64_t oldSize_ = 0;
};

}  // namespace posix
}  // namespace platform
