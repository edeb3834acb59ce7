#pragma once
// The recovery journal of an open grade file: what was edited since the file
// was opened or last saved, kept in the state folder so that a power cut or
// a crash loses nothing older than a second.
//
// The journal is binary: a magic line, then frames of
//   u32 length, payload, u64 check
// (little-endian), where each check is a hash of the previous frame's check
// and the frame's payload. The first frame names the file (path bytes,
// device, inode, size, modification time) and the hash of its bytes at open
// or last save: the base. Each later frame is one finished edit step, played
// forward (an edit, a redo) or backward (an undo). A frame whose check does
// not follow from the one before it (torn by a crash, out of order, from
// another journal) ends the journal: everything before it counts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"
#include "platform/Files.h"

// A 64-bit hash of bytes (FNV-1a), fed in pieces.
class ByteHash {
 public:
  void Feed(std::string_view bytes);
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t value_ = 14695981039346656037ULL;
};

// The hash of a whole file's bytes; nullopt (with `status`) when it cannot be read.
std::optional<std::uint64_t> HashOfFile(const std::string& path, platform::FileStatus& status);

// The hash of the bytes a save of `book` writes (Serialize, then Trailer).
std::uint64_t HashOfBook(const GradeBook& book);

struct JournalHeader {
  std::string Path;  // the file's resolved path, bytes as the system names it
  platform::FileIdentity File;  // device, inode, size and modification time at the base
  std::uint64_t BaseHash = 0;
};

struct JournalStep {
  std::int64_t TimeNs = 0;  // when the step finished, nanoseconds since the epoch
  bool Backward = false;    // an undo: the step's "before" bytes put back
  EditStep Step;
};

struct JournalContents {
  JournalHeader Header;
  std::vector<JournalStep> Steps;
  bool Torn = false;  // bytes after the last whole step were passed over
};

// The journal's first bytes, and one step's frame after the frame whose
// check is `previous` (the header's for the first step). `check` gets the
// frame's own check, for the next frame.
std::string EncodeJournalStart(const JournalHeader& header, std::uint64_t& check);
std::string EncodeJournalStep(const JournalStep& step, std::uint64_t previous, std::uint64_t& check);

// Reads a journal; nullopt when the bytes are not one (no magic line, or no
// whole header).
std::optional<JournalContents> ReadJournal(std::string_view bytes);

// Reads the journal file at `path`; nullopt when there is none or it is not one.
std::optional<JournalContents> ReadJournalFile(const std::string& path);

// Plays the journal's steps onto `book`, whose bytes must be the base. Every
// line a step changes must hold the bytes the step starts from; if one does
// not, nothing is changed and nullopt returned. Otherwise the book holds the
// journal's last state (Modified set; its course list is the caller's to
// rebuild) and the result is the one step that undoes and redoes it all.
std::optional<EditStep> ReplayJournal(const std::vector<JournalStep>& steps, GradeBook& book);

// Where the journals of the file at the resolved path `path` are kept:
// STATE/journals/KEY.journal, and KEY-2.journal ... when a journal left by an
// earlier session is kept while the file is edited again. Empty when there
// is no state folder. Beside a journal, JOURNAL.base holds the base's bytes,
// so that its steps can be shown even after the file itself has changed.
std::string JournalFolder();
std::string JournalPathFor(const std::string& path);
std::string NewJournalPathFor(const std::string& path);  // the first name not taken
std::vector<std::string> JournalsOf(const std::string& path);
std::string BaseCopyOf(const std::string& journal);

// The base's bytes as kept beside `journal`, if they are still there and
// still the base.
std::optional<std::string> ReadBaseCopy(const std::string& journal, std::uint64_t baseHash);

// The journals in the state folder, by their file paths.
std::vector<std::string> AllJournalFiles();

// A time in nanoseconds since the epoch as local time, by strftime's
// `format`; ClockTime is "HH:MM:SS".
std::string LocalTimeText(std::int64_t ns, const char* format);
inline std::string ClockTime(std::int64_t ns) { return LocalTimeText(ns, "%H:%M:%S"); }
