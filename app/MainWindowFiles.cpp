// The file commands of the window (open, save, save as, exit) and closing.
// The book loads and saves and words what went wrong; the window asks the
// teacher's questions and shows the book's messages.
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTableWidget>

#include <chrono>
#include <filesystem>

#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/FileMessages.h"
#include "platform/Files.h"
#include "platform/WriteLock.h"
#include "text/Texts.h"
#include "printing/qt/QtText.h"
#include "text/RecoveryTexts.h"

void MainWindow::openFile() {
  leaveGradeEditor();
  if (!AskSaveBeforeOpen()) return;
  const std::optional<QString> path = Dialogs().OpenGradeFile(this, OpenFolder());
  if (!path || path->isEmpty()) return;
  OpenChosenFile(*path);
}

bool MainWindow::AskSaveBeforeOpen() {
  if (!document_.CanSave()) return true;
  // As before closing: Escape or the box's close button is 取消, and the
  // grades stay open; only 否 lets them go.
  switch (Dialogs().AskYesNoCancel(this, WindowTexts::AskSave())) {
    case Answer::Yes: break;
    case Answer::No: return true;
    case Answer::Cancel: return false;
  }
  // A save that failed must not be followed by opening another file: the
  // unsaved grades would be replaced by it.
  return SaveGradeFile();
}

bool MainWindow::OpenChosenFile(const QString& path) {
  if (recovery_->Claim(PathBytes(path)) == FileRecovery::Access::Refused) return false;
  if (!LoadGradeFile(path)) {
    recovery_->Unclaim();
    return false;
  }
  // The steps of the file that was open mean nothing in this one.
  cellStep_ = {};
  shareStep_ = {};
  std::string recoveredCopy;
  recovery_->Opened(FileName, Book, History, &recoveredCopy);
  if (!recoveredCopy.empty()) document_.SetFileName(recoveredCopy);
  FollowEdits();  // a recovered session is unsaved
  ShowFileName();  // read only or not, as the recovery found
  BuildCourseList();
  EnableExchange();
  const std::string key =
      Book.CourseKeys.empty() ? GradeTexts::NoCourseKey() : Book.CourseKeys.front();
  ShowCourse(key);
  if (SheetIndex == 1)
    LayoutSheet();
  else
    SelectSheet(1);
  RememberFile();
  // The keyboard goes on from the course list: Enter, Tab or Right into the grid.
  if (views->currentWidget() == editingView) courseList->setFocus(Qt::OtherFocusReason);
  return true;
}

void MainWindow::save() {
  // The save command stays enabled when the save failed: the grades are
  // still unsaved.
  SaveGradeFile();
}

void MainWindow::saveAs() {
  leaveGradeEditor();
  if (FileName.empty()) return;
  if (!ConfirmFindings(FindingsPurpose::Save)) return;
  const std::optional<QString> chosen = Dialogs().SaveFileName(this, PathToQString(FileName));
  if (!chosen || chosen->isEmpty()) return;
  const std::string target = PathBytes(*chosen);
  // The open file under its own or another name (a link): a plain save, with
  // its question when someone else wrote the file meanwhile.
  const std::optional<platform::FileIdentity> open = platform::Identify(FileName);
  const std::optional<platform::FileIdentity> chosenFile = platform::Identify(target);
  if (target == FileName || (open && chosenFile && open->SameFile(*chosenFile))) {
    if (MayOverwriteOnDisk()) WriteGradeFile(FileName);
    return;
  }
  if (!WriteGradeFile(target)) return;  // the message was shown; the window goes on as before
  document_.SetFileName(target);
  RememberFile();
}

void MainWindow::exitProgram() { close(); }

void MainWindow::ShowFileName() {
  fileLabel->setText(WindowTexts::FileLabel() + PathToQString(FileName) +
                  (recovery_->ReadOnly() ? QString::fromUtf8(texts::kReadOnlyMark.data(), texts::kReadOnlyMark.size()) : QString()));
  fileLabel->setToolTip(fileLabel->text());
}

bool MainWindow::LoadGradeFile(const QString& path) {
  const LoadResult result = document_.Load(PathBytes(path));
  const QString message = QString::fromStdString(result.Message);
  switch (result.Outcome) {
    case LoadOutcome::Loaded:
      if (!result.Notice.empty()) Dialogs().Information(this, QString::fromStdString(result.Notice));
      return true;
    case LoadOutcome::Missing:
    case LoadOutcome::NotGradeFile:
      Dialogs().Information(this, message);
      return false;
    case LoadOutcome::ReadError:
      break;
  }
  Dialogs().Error(this, message);
  return false;
}

bool MainWindow::SaveGradeFile() {
  leaveGradeEditor();
  if (FileName.empty()) return true;
  // Going back or to a finding is not a failure, but nothing was saved.
  if (!ConfirmFindings(FindingsPurpose::Save)) return false;
  // One writer at a time, from the look at the disk to the end of the write.
  platform::FileStatus locking;
  const auto lock = platform::WriteLock::Take(FileName, std::chrono::seconds(3), locking);
  if (!lock && locking.Error == platform::FileError::Busy) {
    Dialogs().Error(this, QString::fromStdString(DisplayPath(FileName) + std::string(texts::kSaveFailed) +
                                                 FileErrorReason(locking)));
    return false;
  }
  if (!MayOverwriteOnDisk()) return false;
  return WriteGradeFile(FileName);
}

bool MainWindow::MayOverwriteOnDisk() {
  if (!Book.ChangedOnDisk(std::filesystem::path(FileName))) return true;
  // A file that is gone holds nothing to lose: the save puts it back.
  if (!platform::Identify(FileName)) return true;
  return Dialogs().AskToDiscard(this, WindowTexts::AskOverwriteChanged(FileName)) == Answer::Yes;
}

bool MainWindow::WriteGradeFile(const std::string& path) {
  // Read only, the file is another window's to write.
  if (recovery_->ReadOnly() && path == FileName) {
    Dialogs().Information(this, QString::fromUtf8(texts::kReadOnlySave.data(), texts::kReadOnlySave.size()));
    return false;
  }
  recovery_->BeforeSave(path);
  const SaveResult result = document_.Write(path);
  if (!result.Ok) {
    Dialogs().Error(this, QString::fromStdString(result.Message));
    return false;
  }
  recovery_->Saved(path, Book);
  Dialogs().Information(this, WindowTexts::Saved());
  return true;
}

// ---- closing -------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
  if (released_) {
    event->accept();
    return;
  }
  leaveGradeEditor();
  if (document_.CanSave()) {
    switch (Dialogs().AskYesNoCancel(this, WindowTexts::AskSave())) {
      case Answer::Yes:
        if (!SaveGradeFile()) {  // the message was shown; the grades stay
          event->ignore();
          return;
        }
        break;
      case Answer::No:
        break;
      case Answer::Cancel:
        event->ignore();
        return;
    }
  }
  recovery_->Closed();  // saved or given up: nothing is left to recover
  ReleaseAll();
  event->accept();
}

void MainWindow::ReleaseAll() {
  // Only a window that really closes gets here.
  Book.HeadLines.clear();
  Book.CourseKeys.clear();
  Book.GradeLines.clear();
  Book.ClassGroups.clear();
  Book.CourseRows.clear();
  if (sheetPrinter) {
    sheetPrinter->ClearPageList();
    sheetPrinter->ClearRowList();
  }
  PageList.clear();
  RowList.clear();
  if (SheetIndex > 0) SelectSheet(0);
  GridRows.clear();
  EditRow = EditCol = -1;
  released_ = true;
}
