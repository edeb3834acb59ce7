#pragma once
// The window's side of "nothing lost": the edit lock of the open file, its
// recovery journal, the journal a crashed session left and the versions a
// save replaced. The window calls it at the few moments that matter (before
// and after a file is opened, after a save, on closing); it asks the
// teacher through the dialog seam and follows the edit history by itself.
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"
#include "gradefile/JournalWriter.h"
#include "platform/StateFiles.h"

class DialogSeam;
class QWidget;

class FileRecovery {
 public:
  FileRecovery(QWidget* window, DialogSeam& dialogs);
  ~FileRecovery();

  // Before `path` is loaded. Edit: this window now holds its lock. ReadOnly:
  // another window or program edits it and the teacher chose to look at it
  // all the same. Refused: the teacher chose not to open it.
  enum class Access { Edit, ReadOnly, Refused };
  Access Claim(const std::string& path);

  // The open failed: what Claim took is let go, the open file's stays.
  void Unclaim();

  // After the claimed file loaded into `book` with an empty `history`: ends
  // the journal of the file open before, offers what a crashed session left
  // for this one, and starts this file's journal. True when a recovered
  // state was put into the book (one step in `history`, Modified set): the
  // window shows the book again. A file whose journal no longer fits may
  // instead be offered as a copy: then `copyTarget` gets the name chosen for
  // it and the book holds the copy, unsaved.
  bool Opened(const std::string& path, GradeBook& book, EditHistory& history, std::string* copyTarget);

  // At a start without a file: journals left for any file are offered; the
  // file to open for recovering, if the teacher wants one.
  std::optional<std::string> OfferLeftJournals();

  // Before a save replaces `path`: keeps its bytes as a version.
  void BeforeSave(const std::string& path);
  // After `book` was saved to `path` (also a new name): the journal starts
  // anew on what was saved.
  void Saved(const std::string& path, const GradeBook& book);

  // The window closes with nothing unsaved or with its changes given up:
  // the journal goes, and the lock.
  void Closed();

  bool ReadOnly() const { return readOnly_; }

  // Journal failures, once each (a timer of the window looks every second).
  void ShowFailures();

  // Waits until every step is on the disk (tests).
  void Flush();

 private:
  void StartJournal(const std::string& resolved, const GradeBook& book, std::uint64_t baseHash);
  void Tell(const std::string& message);

  QWidget* window_;
  DialogSeam& dialogs_;
  std::optional<platform::FileLock> lock_;     // of the open file
  platform::FileIdentity lockedFile_;          // what lock_ is the lock of
  std::optional<platform::FileLock> claimed_;  // of the file being opened
  bool claimedReadOnly_ = false;
  bool claimedSame_ = false;  // the file being opened is the one open
  std::string pendingRecover_;  // chosen at the start: recovered without asking again
  bool readOnly_ = false;
  std::unique_ptr<JournalWriter> journal_;
  std::vector<std::string> toldOnce_;  // messages already shown
};
