#pragma once
// Writes the recovery journal of one open file as its edit steps finish.
// A step is encoded on the caller's thread (a few hundred bytes for a cell)
// and handed to a writer thread, which appends whatever has come and flushes
// it to the disk (fdatasync) at once, so a step is on the disk well within a
// second while the window never waits for the disk.
//
// The journal file is made with the first step, not before: a file only
// looked at leaves none. With it, the writer thread copies the file's bytes
// beside it (when they are still the base), so the steps can be shown on
// the bytes they were made on even if the file changes before they are
// recovered. A failure (full disk, a state folder that cannot be
// written) never stops an edit or a save: it is kept, to be shown once, and
// the journal starts anew with the next step after a save.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gradefile/RecoveryJournal.h"

namespace platform {
class AppendFile;
}

class JournalWriter {
 public:
  // Writes to `journalPath` (empty: nowhere; every step is dropped and a
  // failure reported) for the file `header` names.
  JournalWriter(std::string journalPath, JournalHeader header);
  ~JournalWriter();  // writes what is queued; the journal stays
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Queues a finished step (backward: an undo).
  void Append(const EditStep& step, bool backward);

  // The file was saved (or the base is otherwise new): the journal is
  // removed, and the next step starts one on the new base.
  void Rebase(JournalHeader header);

  // Everything unsaved was given up: the journal is removed.
  void Remove();

  // Waits until what was queued is on the disk (or has failed).
  void Flush();

  // The first failure not yet shown, as a message; each failure is given
  // once, and none again until writing has worked in between.
  std::optional<std::string> TakeFailure();

  const std::string& Path() const { return path_; }
  // The file the journal is of (its resolved path).
  const std::string& File() const { return header_.Path; }

 private:
  enum class Op { Start, Append, Remove };
  struct Work {
    Op What;
    std::string Bytes;
    std::string Source;  // Start: the file whose bytes are the base
    std::uint64_t BaseHash = 0;
  };
  void Run();
  void Do(std::vector<Work>& batch);
  void Fail(const std::string& message);
  platform::FileStatus KeepBase(const Work& start);

  const std::string path_;
  JournalHeader header_;      // caller's thread only
  bool started_ = false;      // caller's thread: the journal has its header
  std::uint64_t lastCheck_ = 0;  // caller's thread

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::vector<Work> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::optional<std::string> failure_;  // not yet taken
  bool failing_ = false;                // shown and not yet over
  std::unique_ptr<platform::AppendFile> file_;  // writer thread only
  std::thread thread_;
};
