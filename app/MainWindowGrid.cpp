// The editing view: the course list, the student grid, the grade editor over
// a grid cell, and the share field. The book decides what a cell shows and
// what an edit writes; the window keeps each row's bytes (rows()) and the
// grid's model shows them, so no record byte makes a trip through a QString.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStatusBar>

#include "app/EditingGrids.h"
#include "app/GradeMarks.h"
#include "app/GradeEditor.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "grading/GradeCheck.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

// ---- start-up -------------------------------------------------------------------

// 12. The empty row of no course (the headings are the grids' own).
void MainWindow::ShowGridHeadings() {
  rows() = EmptyCourseRows();
  const QSignalBlocker block(studentGrid());
  studentGrid()->Students().Reset();
  editingView_->ShowRow(1);
  studentGrid()->setCurrentIndex(QModelIndex());
}

// 13. The grade editor's words.
void MainWindow::FillEditorWords() {
  QComboBox* words = gradeEditor();
  for (const std::string& word : EditorWords()) words->addItem(GbkToQString(word));
  const QSignalBlocker block(words);
  words->setCurrentIndex(-1);
  words->setEditText(QString());
}

// ---- course list and student grid ---------------------------------------------

void MainWindow::BuildCourseList() {
  Book.BuildCourseList();
  const QSignalBlocker block(courseList());
  courseList()->ShowTitles();
}

void MainWindow::ShowCourse(const std::string& key) {
  CourseView view = Book.ShowCourse(key);
  editingView_->SetShare(view.Share);
  shareEdit()->setText(GbkToQString(view.Share));  // not an edit: textEdited is not emitted
  editingView_->MarkShare();
  leaveGradeEditor();
  gradeCells().ForgetCell();

  rows() = std::move(view.Rows);
  editingView_->marks().Start(Book, key);
  const QSignalBlocker block(studentGrid());
  studentGrid()->setCurrentIndex(QModelIndex());
  studentGrid()->clearSelection();
  studentGrid()->Students().Reset();
  for (int r = 1; r <= static_cast<int>(rows().size()); ++r) editingView_->MarkRow(r);
  studentGrid()->scrollToTop();
  leaveGradeEditor();
}

void MainWindow::selectCourse(int row) {
  if (const std::size_t course = CourseOfListRow(row); course < Book.CourseKeys.size())
    ShowCourse(Book.CourseKeys[course]);
}

// ---- the grade editor ----------------------------------------------------------

void MainWindow::selectGradeCell(int row, int column) {
  FinishEditSteps();  // the editor leaves its cell, wherever it goes
  if (Book.CourseKeys.empty() || row < 1 || !IsGradeColumn(column)) return;
  if (row > static_cast<int>(rows().size())) return;
  std::string text = rows()[static_cast<std::size_t>(StudentOfRow(row))].Cells[static_cast<std::size_t>(column)];
  TrimBlanks(text);
  gradeCells().OpenAt(row, column, text);
  editingView_->MarkEditor();
}

void MainWindow::takeEditorText() {
  const int row = gradeCells().Row();
  const int column = gradeCells().Column();
  if (row < 1 || !IsGradeColumn(column) || row > static_cast<int>(rows().size())) return;
  const std::optional<std::string> text = QStringToGbk(gradeEditor()->currentText());
  if (!text) {
    RefuseInput(gradeEditor(), GbkToQString(gradeCells().Bytes()), WindowTexts::InputRefused());
    return;
  }
  StudentRow& student = rows()[static_cast<std::size_t>(StudentOfRow(row))];
  const GradeField field = FieldOfColumn(column);
  // A grade the record cannot hold whole is never typed at all.
  switch (PlanGradeEdit(student, field, *text, editingView_->share()).Fit) {
    case GradeEditFit::Fits: break;
    case GradeEditFit::TextTooLong:
      RefuseInput(gradeEditor(), GbkToQString(gradeCells().Bytes()), WindowTexts::GradeTooLong());
      return;
    case GradeEditFit::TotalTooLong:
      RefuseInput(gradeEditor(), GbkToQString(gradeCells().Bytes()), WindowTexts::TotalTooLong());
      return;
  }
  const std::optional<RecordChange> change =
      Book.WriteThrough(CourseOfListRow(courseList()->currentRow()), student, field, *text, editingView_->share());
  gradeCells().Took(*text, change);
  editingView_->ShowRow(row);
  if (change) FollowEdits();
}

void MainWindow::leaveGradeEditor() {
  if (editingView_ != nullptr) gradeCells().Close();
  FinishEditSteps();
}

void MainWindow::MoveEditor(EditorMove move) {
  const int from = gradeCells().Row();
  const int fromColumn = gradeCells().Column();
  if (from < 1 || !IsGradeColumn(fromColumn)) return;
  // The empty row of a course without students takes the editor too.
  const std::optional<StudentCell> to = EditorMoveTarget({StudentOfRow(from), FieldOfColumn(fromColumn)}, move,
                                                         static_cast<int>(rows().size()));
  if (!to) return;
  const int row = GridRow(to->Student);
  const int col = GridColumn(to->Field);
  studentGrid()->setCurrentCell(row, col);
  if (gradeCells().Row() != row || gradeCells().Column() != col) {
    selectGradeCell(row, col);
  }
}

void MainWindow::RefuseInput(QWidget* where, const QString& restored, const QString& why) {
  statusLine_->show();
  statusLine_->showMessage(why, 8000);
  editingView_->Refuse(where, restored, why);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool editor = gradeEditor() != nullptr &&
                      (watched == gradeEditor() || watched == gradeEditor()->lineEdit());
  if (gradeEditor() != nullptr && EditingKeyFilter(watched, event)) return true;
  // The edit fields' own undo would take back keystrokes the file already
  // holds without the window knowing: Ctrl+Z and Ctrl+Y there are the
  // window's undo and redo, which end the edit in progress as one step.
  if ((editor || watched == shareEdit()) && IsUndoKey(event)) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (commands_.undo->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch)
        undo();
      else
        redo();
    }
    return true;  // a refused shortcut override lets the menu's shortcut act
  }
  if (watched == shareEdit() && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) FinishEditSteps();
  }
  if (editor && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = (key->modifiers() & Qt::AltModifier) != 0;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        MoveEditor(EditorMove::Down);
        return true;
      case Qt::Key_Down:
        if (alt) break;  // Alt+Down opens the word list
        MoveEditor(EditorMove::Down);
        return true;
      case Qt::Key_Up:
        if (alt) break;
        MoveEditor(EditorMove::Up);
        return true;
      case Qt::Key_Tab:
        MoveEditor(EditorMove::Next);
        return true;
      case Qt::Key_Backtab:
        MoveEditor(EditorMove::Previous);
        return true;
      case Qt::Key_Escape:  // out of the grid, back to the course list
        leaveGradeEditor();
        courseList()->setFocus(Qt::OtherFocusReason);
        return true;
      default:
        break;
    }
  }
  if (editor && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Opening the word list or switching to another program is not leaving.
    // Nor is its going from cell to cell.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !gradeCells().Moving()) {
      QWidget* now = QApplication::focusWidget();
      // Nor is the word list taking the keys (Alt+Down).
      const bool wordList = now != nullptr && now->window() == gradeEditor()->view()->window();
      if (now != gradeEditor() && now != gradeEditor()->lineEdit() && !wordList) leaveGradeEditor();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- the share -------------------------------------------------------------------

void MainWindow::changeShare() {
  const std::optional<std::string> text = QStringToGbk(shareEdit()->text());
  if (!text) {
    RefuseInput(shareEdit(), GbkToQString(editingView_->share()), WindowTexts::InputRefused());
    return;
  }
  if (!IsShareNumber(TrimmedBlanks(*text), true)) {
    RefuseInput(shareEdit(), GbkToQString(editingView_->share()), WindowTexts::ShareRefused());
    return;
  }
  editingView_->SetShare(*text);
  if (const std::optional<HeadLineChange> change = Book.StoreShare(CourseOfListRow(courseList()->currentRow()), *text)) {
    shareStep_.Add(*change);
    FollowEdits();
  }
  // Every total of the course is checked against the new share at once.
  editingView_->MarkShare();
  for (int r = 1; r <= static_cast<int>(rows().size()); ++r) editingView_->MarkRow(r);
}
