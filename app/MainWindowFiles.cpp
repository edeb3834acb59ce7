// The file commands of the window (open, save, save as, exit) and closing:
// the document reads, writes and asks; the window leaves the editor first
// and shows the file it is given.
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>

#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "app/RecentFilesMenu.h"
#include "app/WindowTexts.h"
#include "text/Texts.h"
#include "printing/qt/QtText.h"
#include "text/RecoveryTexts.h"

void MainWindow::openFile() {
  leaveGradeEditor();
  if (!document_.MayLeave()) return;
  const std::optional<QString> path = Dialogs().OpenGradeFile(this, OpenFolder());
  if (!path || path->isEmpty()) return;
  OpenChosenFile(*path);
}

bool MainWindow::OpenChosenFile(const QString& path) {
  if (recovery_->Claim(PathBytes(path)) == FileRecovery::Access::Refused) return false;
  if (!document_.Open(path)) {
    recovery_->Unclaim();
    return false;
  }
  // The steps of the file that was open mean nothing in this one.
  gradeCells().TakeStep();
  shareStep_ = {};
  std::string recoveredCopy;
  recovery_->Opened(FileName, Book, History, &recoveredCopy);
  if (!recoveredCopy.empty()) document_.SetFileName(recoveredCopy);
  FollowEdits();  // a recovered session is unsaved
  ShowFileName();  // read only or not, as the recovery found
  BuildCourseList();
  EnableCourseCommands();
  const std::string key =
      Book.CourseKeys.empty() ? GradeTexts::NoCourseKey() : Book.CourseKeys.front();
  ShowCourse(key);
  sheetPreview_->LayOut();
  recentFiles_->remember(FileName);
  // The keyboard goes on from the course list: Enter, Tab or Right into the grid.
  if (views_->currentWidget() == editingView_) courseList()->setFocus(Qt::OtherFocusReason);
  return true;
}

void MainWindow::save() {
  leaveGradeEditor();
  document_.Save();
}

void MainWindow::saveAs() {
  leaveGradeEditor();
  if (document_.SaveAs()) recentFiles_->remember(FileName);
}

void MainWindow::exitProgram() { close(); }

void MainWindow::ShowFileName() {
  QLabel* label = editingView_->fileLabel();
  label->setText(WindowTexts::FileLabel() + PathToQString(FileName) +
                 (recovery_->ReadOnly() ? QString::fromUtf8(texts::kReadOnlyMark.data(), texts::kReadOnlyMark.size()) : QString()));
  label->setToolTip(label->text());
}

// ---- closing -------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
  if (released_) {
    event->accept();
    return;
  }
  leaveGradeEditor();
  if (!document_.MayLeave()) {  // cancelled, or the save failed (the message was shown): the grades stay
    event->ignore();
    return;
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
  Book.CourseTitles.clear();
  sheetPreview_->DropSheet();
  rows().clear();
  gradeCells().ForgetCell();
  released_ = true;
}

void MainWindow::EnableCourseCommands() {
  const bool courses = !FileName.empty() && !Book.CourseKeys.empty();
  for (QAction* command : {commands_.importScores, commands_.exportGrades, commands_.exportSheetPdf, commands_.analysis})
    command->setEnabled(courses);
}
