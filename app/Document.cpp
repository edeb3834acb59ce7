#include "app/Document.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/DialogSeam.h"
#include "app/FileRecovery.h"
#include "app/WindowTexts.h"
#include "gradefile/FileMessages.h"
#include "platform/Files.h"
#include "platform/WriteLock.h"
#include "printing/qt/QtText.h"
#include "text/RecoveryTexts.h"
#include "text/Texts.h"

Document::Document(QWidget* window, DialogSeam& dialogs, FileRecovery& recovery)
    : window_(window), dialogs_(dialogs), recovery_(recovery) {}

void Document::SetFileName(std::string path) {
  if (path == fileName_) return;
  fileName_ = std::move(path);
  emit fileNameChanged();
  Changed();
}

bool Document::Open(const QString& path) {
  const std::string bytes = PathBytes(path);
  const LoadResult result = book_.Load(std::filesystem::path(bytes));
  const QString message = QString::fromStdString(result.Message);
  switch (result.Outcome) {
    case LoadOutcome::Loaded: {
      // A name from the command line is relative to where the program was
      // started; the label, save as and the recent files want the whole path.
      std::error_code error;
      const std::filesystem::path whole = std::filesystem::absolute(std::filesystem::path(bytes), error);
      SetFileName(error ? bytes : whole.string());
      history_.Clear();  // the steps of the file that was open mean nothing in this one
      Changed();
      if (!result.Notice.empty()) dialogs_.Information(window_, QString::fromStdString(result.Notice));
      return true;
    }
    case LoadOutcome::Missing:
    case LoadOutcome::NotGradeFile:
      dialogs_.Information(window_, message);
      return false;
    case LoadOutcome::ReadError:
      break;
  }
  dialogs_.Error(window_, message);
  return false;
}

bool Document::Save() {
  if (fileName_.empty()) return true;
  // Going back or to a finding is not a failure, but nothing was saved.
  if (confirmSave_ && !confirmSave_()) return false;
  // One writer at a time, from the look at the disk to the end of the write.
  platform::FileStatus locking;
  const auto lock = platform::WriteLock::Take(fileName_, std::chrono::seconds(3), locking);
  if (!lock && locking.Error == platform::FileError::Busy) {
    dialogs_.Error(window_, QString::fromStdString(DisplayPath(fileName_) + std::string(texts::kSaveFailed) +
                                                   FileErrorReason(locking)));
    return false;
  }
  if (!MayOverwriteOnDisk()) return false;
  return Write(fileName_);
}

bool Document::SaveAs() {
  if (fileName_.empty()) return false;
  if (confirmSave_ && !confirmSave_()) return false;
  const std::optional<QString> chosen = dialogs_.SaveFileName(window_, PathToQString(fileName_));
  if (!chosen || chosen->isEmpty()) return false;
  const std::string target = PathBytes(*chosen);
  // The open file under its own or another name (a link): a plain save, with
  // its question when someone else wrote the file meanwhile.
  const std::optional<platform::FileIdentity> open = platform::Identify(fileName_);
  const std::optional<platform::FileIdentity> chosenFile = platform::Identify(target);
  if (target == fileName_ || (open && chosenFile && open->SameFile(*chosenFile))) {
    if (MayOverwriteOnDisk()) Write(fileName_);
    return false;
  }
  if (!Write(target)) return false;  // the message was shown; the document goes on as before
  SetFileName(target);
  return true;
}

bool Document::MayLeave() {
  if (!CanSave()) return true;
  // Escape or the box's close button is 取消, and the grades stay open;
  // only 否 lets them go.
  switch (dialogs_.AskYesNoCancel(window_, WindowTexts::AskSave())) {
    case Answer::Yes: break;
    case Answer::No: return true;
    case Answer::Cancel: return false;
  }
  // A save that failed must not be followed by leaving: the unsaved grades
  // would be lost.
  return Save();
}

bool Document::MayOverwriteOnDisk() {
  if (!book_.ChangedOnDisk(std::filesystem::path(fileName_))) return true;
  // A file that is gone holds nothing to lose: the save puts it back.
  if (!platform::Identify(fileName_)) return true;
  return dialogs_.AskToDiscard(window_, WindowTexts::AskOverwriteChanged(fileName_)) == Answer::Yes;
}

bool Document::Write(const std::string& path) {
  // Read only, the file is another window's to write.
  if (recovery_.ReadOnly() && path == fileName_) {
    dialogs_.Information(window_, QString::fromUtf8(texts::kReadOnlySave.data(), texts::kReadOnlySave.size()));
    return false;
  }
  recovery_.BeforeSave(path);
  const SaveResult result = book_.Save(std::filesystem::path(path));
  if (!result.Ok) {
    dialogs_.Error(window_, QString::fromStdString(result.Message));
    return false;
  }
  recovery_.Saved(path, book_);
  book_.Modified = false;
  history_.MarkSaved();  // undo and redo back to here need no save
  Changed();
  dialogs_.Information(window_, WindowTexts::Saved());
  return true;
}

void Document::Changed() {
  const bool canSave = CanSave();
  if (canSave == canSave_) return;
  canSave_ = canSave;
  emit canSaveChanged(canSave);
}
