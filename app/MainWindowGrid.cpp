// The editing view: the course list, the student grid, the grade editor over
// a grid cell, and the share field. The book decides what a cell shows and
// what an edit writes; the grid keeps each row's bytes (GridRows) and shows
// them, so no record byte makes a trip through a QString.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolTip>

#include "app/FrozenHeading.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "grading/GradeCheck.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

// Fixed cells of a grid (headings, row numbers, student number, name, class):
// not selectable, drawn like the grid's fixed area but with readable text.
const QColor kFixedFace(236, 233, 216);

QTableWidgetItem* FixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::NoItemFlags);
  item->setBackground(kFixedFace);
  item->setForeground(Qt::black);
  return item;
}

QTableWidgetItem* CellItem(QTableWidget* grid, int row, int col) {
  QTableWidgetItem* item = grid->item(row, col);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    grid->setItem(row, col, item);
  }
  return item;
}

}  // namespace

// ---- start-up -------------------------------------------------------------------

// 12. The headings of both grids, and the empty row of no course.
void MainWindow::ShowGridHeadings() {
  courseList->setItem(0, 0, FixedItem(QStringLiteral(" 课程列表")));
  courseList->setItem(1, 0, new QTableWidgetItem);
  const QString headings[7] = {QString(),
                               QStringLiteral(" 学 号"),
                               QStringLiteral(" 姓 名"),
                               QStringLiteral(" 班 级"),
                               QStringLiteral("平时成绩"),
                               QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
  for (int c = 0; c < 7; ++c) studentGrid->setItem(0, c, FixedItem(headings[c]));
  GridRows = EmptyCourseRows();
  const QSignalBlocker block(studentGrid);
  ShowGridRow(1);
  studentGrid->setCurrentIndex(QModelIndex());
}

// 13. The grade editor's words.
void MainWindow::FillEditorWords() {
  for (const std::string& word : EditorWords()) gradeEditor->addItem(GbkToQString(word));
  const QSignalBlocker block(gradeEditor);
  gradeEditor->setCurrentIndex(-1);
  gradeEditor->setEditText(QString());
}

// ---- course list and student grid ---------------------------------------------

void MainWindow::BuildCourseList() {
  Book.BuildCourseList();
  const QSignalBlocker block(courseList);
  const int courses = static_cast<int>(Book.CourseKeys.size());
  courseList->setRowCount(1 + std::max(1, courses));
  courseList->setItem(1, 0, new QTableWidgetItem);
  for (int i = 0; i < courses; ++i) {
    const QString text = i < static_cast<int>(Book.CourseRows.size())
                             ? GbkToQString(Book.CourseRows[static_cast<std::size_t>(i)])
                             : QString();
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    courseList->setItem(i + 1, 0, item);
  }
  courseList->setCurrentCell(1, 0);
  courseList->scrollToTop();
}

void MainWindow::ShowCourse(const std::string& key) {
  CourseView view = Book.ShowCourse(key);
  shareBytes_ = view.Share;
  shareEdit->setText(GbkToQString(view.Share));  // not an edit: textEdited is not emitted
  MarkShare();
  leaveGradeEditor();
  EditRow = EditCol = -1;

  GridRows = std::move(view.Rows);
  FindRepeatedNumbers(key);
  const QSignalBlocker block(studentGrid);
  studentGrid->setCurrentIndex(QModelIndex());
  studentGrid->clearSelection();
  studentGrid->setRowCount(1 + static_cast<int>(GridRows.size()));
  for (int r = 1; r <= static_cast<int>(GridRows.size()); ++r) ShowGridRow(r);
  studentGrid->scrollToTop();
  leaveGradeEditor();
}

void MainWindow::ShowGridRow(int row) {
  const StudentRow& data = GridRows[static_cast<std::size_t>(row - 1)];
  for (int c = 0; c < 7; ++c) {
    const QString text = GbkToQString(data.Cells[static_cast<std::size_t>(c)]);
    if (c < kFirstGradeColumn) {
      QTableWidgetItem* item = studentGrid->item(row, c);
      if (item == nullptr || item->flags() != Qt::NoItemFlags) {
        item = FixedItem(text);
        studentGrid->setItem(row, c, item);
      } else {
        item->setText(text);
      }
      if (c == 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      QTableWidgetItem* item = CellItem(studentGrid, row, c);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setText(text);
    }
  }
  MarkRow(row);  // every re-show of a row brings its marks up to date
}

void MainWindow::selectCourse(int, int ARow, bool&) {
  if (ARow >= 1 && ARow <= static_cast<int>(Book.CourseKeys.size()))
    ShowCourse(Book.CourseKeys[static_cast<std::size_t>(ARow - 1)]);
}

// ---- the grade editor ----------------------------------------------------------

void MainWindow::selectGradeCell(int ACol, int ARow, bool&) {
  FinishEditSteps();  // the editor leaves its cell, wherever it goes
  if (Book.CourseKeys.empty() || ARow < 1 || ACol < kFirstGradeColumn) return;
  if (ARow > static_cast<int>(GridRows.size()) || ACol > kLastGradeColumn) return;
  std::string text = GridRows[static_cast<std::size_t>(ARow - 1)].Cells[static_cast<std::size_t>(ACol)];
  TrimBlanks(text);
  {
    const QSignalBlocker block(gradeEditor);
    gradeEditor->setCurrentIndex(-1);  // a later pick of any word is a change
    gradeEditor->setEditText(GbkToQString(text));
  }
  editorBytes_ = text;
  EditRow = ARow;
  EditCol = ACol;
  if (QTableWidgetItem* item = studentGrid->item(ARow, ACol)) {
    studentGrid->scrollToItem(item);
    KeepRowClearOfHeading(studentGrid, ARow);
  }
  gradeEditor->show();
  gradeEditor->raise();
  PlaceEditor();
  gradeEditor->setFocus(Qt::OtherFocusReason);
  gradeEditor->lineEdit()->selectAll();
  MarkEditor();
}

void MainWindow::PlaceEditor() {
  if (!gradeEditor->isVisible() || EditRow < 1 || EditCol < kFirstGradeColumn) return;
  QTableWidgetItem* item = studentGrid->item(EditRow, EditCol);
  if (item == nullptr) return;
  const QRect cell = studentGrid->visualItemRect(item);
  // Scrolled out of sight, or under the frozen heading: the editor goes with
  // its cell.
  const QRect body = studentGrid->viewport()->rect().adjusted(0, studentGrid->rowHeight(0), 0, 0);
  if (!body.intersects(cell)) {
    leaveGradeEditor();
    return;
  }
  gradeEditor->move(studentGrid->viewport()->mapTo(editingView, cell.topLeft()));
}

void MainWindow::takeEditorText() {
  if (EditRow < 1 || !IsGradeColumn(EditCol) || EditRow > static_cast<int>(GridRows.size())) return;
  const std::optional<std::string> text = QStringToGbk(gradeEditor->currentText());
  if (!text) {
    RefuseInput(gradeEditor, GbkToQString(editorBytes_), WindowTexts::InputRefused());
    return;
  }
  StudentRow& student = GridRows[static_cast<std::size_t>(StudentOfRow(EditRow))];
  const GradeField field = FieldOfColumn(EditCol);
  // A grade the record cannot hold whole is never typed at all.
  switch (PlanGradeEdit(student, field, *text, shareBytes_).Fit) {
    case GradeEditFit::Fits: break;
    case GradeEditFit::TextTooLong:
      RefuseInput(gradeEditor, GbkToQString(editorBytes_), WindowTexts::GradeTooLong());
      return;
    case GradeEditFit::TotalTooLong:
      RefuseInput(gradeEditor, GbkToQString(editorBytes_), WindowTexts::TotalTooLong());
      return;
  }
  editorBytes_ = *text;
  const std::optional<RecordChange> change =
      Book.WriteThrough(CourseOfListRow(courseList->currentRow()), student, field, *text, shareBytes_);
  ShowGridRow(EditRow);
  if (change) {
    cellStep_.Add(*change);
    FollowEdits();
  }
}

void MainWindow::leaveGradeEditor() {
  if (gradeEditor != nullptr) gradeEditor->hide();
  FinishEditSteps();
}

void MainWindow::MoveEditor(EditorMove move) {
  if (EditRow < 1 || !IsGradeColumn(EditCol)) return;
  // The empty row of a course without students takes the editor too.
  const std::optional<StudentCell> to = EditorMoveTarget({StudentOfRow(EditRow), FieldOfColumn(EditCol)}, move,
                                                         static_cast<int>(GridRows.size()));
  if (!to) return;
  const int row = GridRow(to->Student);
  const int col = GridColumn(to->Field);
  studentGrid->setCurrentCell(row, col);
  if (EditRow != row || EditCol != col) {
    bool canSelect = true;
    selectGradeCell(col, row, canSelect);
  }
}

void MainWindow::RefuseInput(QWidget* where, const QString& restored, const QString& why) {
  InputNotice = why;
  statusLine->show();
  statusLine->showMessage(why, 8000);
  auto* edit = where == gradeEditor ? gradeEditor->lineEdit() : qobject_cast<QLineEdit*>(where);
  if (edit != nullptr) {
    const int grown = edit->text().size() - restored.size();
    const int cursor = std::clamp(edit->cursorPosition() - std::max(0, grown), 0,
                                  static_cast<int>(restored.size()));
    const QSignalBlocker block(where);
    const QSignalBlocker blockEdit(edit);
    edit->setText(restored);
    edit->setCursorPosition(cursor);
  }
  where->setToolTip(InputNotice);
  if (where->isVisible())
    QToolTip::showText(where->mapToGlobal(QPoint(0, where->height())), InputNotice, where);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool editor = gradeEditor != nullptr &&
                      (watched == gradeEditor || watched == gradeEditor->lineEdit());
  if (gradeEditor != nullptr && EditingKeyFilter(watched, event)) return true;
  // The edit fields' own undo would take back keystrokes the file already
  // holds without the window knowing: Ctrl+Z and Ctrl+Y there are the
  // window's undo and redo, which end the edit in progress as one step.
  if ((editor || watched == shareEdit) && IsUndoKey(event)) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (commands_.undo->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch)
        undo();
      else
        redo();
    }
    return true;  // a refused shortcut override lets the menu's shortcut act
  }
  if (watched == shareEdit && event->type() == QEvent::FocusOut) {
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
        courseList->setFocus(Qt::OtherFocusReason);
        return true;
      default:
        break;
    }
  }
  if (editor && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Opening the word list or switching to another program is not leaving.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      QWidget* now = QApplication::focusWidget();
      // Nor is the word list taking the keys (Alt+Down).
      const bool wordList = now != nullptr && now->window() == gradeEditor->view()->window();
      if (now != gradeEditor && now != gradeEditor->lineEdit() && !wordList) leaveGradeEditor();
    }
  }
  if (studentGrid != nullptr && watched == studentGrid->viewport() &&
      event->type() == QEvent::Resize)
    PlaceEditor();
  return QMainWindow::eventFilter(watched, event);
}

// ---- the share -------------------------------------------------------------------

void MainWindow::changeShare() {
  const std::optional<std::string> text = QStringToGbk(shareEdit->text());
  if (!text) {
    RefuseInput(shareEdit, GbkToQString(shareBytes_), WindowTexts::InputRefused());
    return;
  }
  if (!IsShareNumber(TrimmedBlanks(*text), true)) {
    RefuseInput(shareEdit, GbkToQString(shareBytes_), WindowTexts::ShareRefused());
    return;
  }
  shareBytes_ = *text;
  if (const std::optional<HeadLineChange> change = Book.StoreShare(CourseOfListRow(courseList->currentRow()), *text)) {
    shareStep_.Add(*change);
    FollowEdits();
  }
  // Every total of the course is checked against the new share at once.
  MarkShare();
  for (int r = 1; r <= static_cast<int>(GridRows.size()); ++r) MarkRow(r);
}
