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
#include "app/Tdataout.h"
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
void Tdataout::ShowGridHeadings() {
  StringGrid2->setItem(0, 0, FixedItem(QStringLiteral(" 课程列表")));
  StringGrid2->setItem(1, 0, new QTableWidgetItem);
  const QString headings[7] = {QString(),
                               QStringLiteral(" 学 号"),
                               QStringLiteral(" 姓 名"),
                               QStringLiteral(" 班 级"),
                               QStringLiteral("平时成绩"),
                               QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
  for (int c = 0; c < 7; ++c) StringGrid1->setItem(0, c, FixedItem(headings[c]));
  GridRows = EmptyCourseRows();
  const QSignalBlocker block(StringGrid1);
  ShowGridRow(1);
  StringGrid1->setCurrentIndex(QModelIndex());
}

// 13. The grade editor's words.
void Tdataout::FillEditorWords() {
  for (const std::string& word : EditorWords()) ComboBox1->addItem(GbkToQString(word));
  const QSignalBlocker block(ComboBox1);
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->setEditText(QString());
}

// ---- course list and student grid ---------------------------------------------

void Tdataout::BuildCourseList() {
  Book.BuildCourseList();
  const QSignalBlocker block(StringGrid2);
  const int courses = static_cast<int>(Book.CourseKeys.size());
  StringGrid2->setRowCount(1 + std::max(1, courses));
  StringGrid2->setItem(1, 0, new QTableWidgetItem);
  for (int i = 0; i < courses; ++i) {
    const QString text = i < static_cast<int>(Book.CourseRows.size())
                             ? GbkToQString(Book.CourseRows[static_cast<std::size_t>(i)])
                             : QString();
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    StringGrid2->setItem(i + 1, 0, item);
  }
  StringGrid2->setCurrentCell(1, 0);
  StringGrid2->scrollToTop();
}

void Tdataout::ShowCourse(const std::string& key) {
  CourseView view = Book.ShowCourse(key);
  shareBytes_ = view.Share;
  Edit1->setText(GbkToQString(view.Share));  // not an edit: textEdited is not emitted
  MarkShare();
  ComboBox1Exit();
  EditRow = EditCol = -1;

  GridRows = std::move(view.Rows);
  FindRepeatedNumbers(key);
  const QSignalBlocker block(StringGrid1);
  StringGrid1->setCurrentIndex(QModelIndex());
  StringGrid1->clearSelection();
  StringGrid1->setRowCount(1 + static_cast<int>(GridRows.size()));
  for (int r = 1; r <= static_cast<int>(GridRows.size()); ++r) ShowGridRow(r);
  StringGrid1->scrollToTop();
  ComboBox1Exit();
}

void Tdataout::ShowGridRow(int row) {
  const StudentRow& data = GridRows[static_cast<std::size_t>(row - 1)];
  for (int c = 0; c < 7; ++c) {
    const QString text = GbkToQString(data.Cells[static_cast<std::size_t>(c)]);
    if (c < kFirstGradeColumn) {
      QTableWidgetItem* item = StringGrid1->item(row, c);
      if (item == nullptr || item->flags() != Qt::NoItemFlags) {
        item = FixedItem(text);
        StringGrid1->setItem(row, c, item);
      } else {
        item->setText(text);
      }
      if (c == 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      QTableWidgetItem* item = CellItem(StringGrid1, row, c);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setText(text);
    }
  }
  MarkRow(row);  // every re-show of a row brings its marks up to date
}

void Tdataout::StringGrid2SelectCell(int, int ARow, bool&) {
  if (ARow >= 1 && ARow <= static_cast<int>(Book.CourseKeys.size()))
    ShowCourse(Book.CourseKeys[static_cast<std::size_t>(ARow - 1)]);
}

// ---- the grade editor ----------------------------------------------------------

void Tdataout::StringGrid1SelectCell(int ACol, int ARow, bool&) {
  FinishEditSteps();  // the editor leaves its cell, wherever it goes
  if (Book.CourseKeys.empty() || ARow < 1 || ACol < kFirstGradeColumn) return;
  if (ARow > static_cast<int>(GridRows.size()) || ACol > kLastGradeColumn) return;
  std::string text = GridRows[static_cast<std::size_t>(ARow - 1)].Cells[static_cast<std::size_t>(ACol)];
  TrimBlanks(text);
  {
    const QSignalBlocker block(ComboBox1);
    ComboBox1->setCurrentIndex(-1);  // a later pick of any word is a change
    ComboBox1->setEditText(GbkToQString(text));
  }
  editorBytes_ = text;
  EditRow = ARow;
  EditCol = ACol;
  if (QTableWidgetItem* item = StringGrid1->item(ARow, ACol)) {
    StringGrid1->scrollToItem(item);
    KeepRowClearOfHeading(StringGrid1, ARow);
  }
  ComboBox1->show();
  ComboBox1->raise();
  PlaceEditor();
  ComboBox1->setFocus(Qt::OtherFocusReason);
  ComboBox1->lineEdit()->selectAll();
  MarkEditor();
}

void Tdataout::PlaceEditor() {
  if (!ComboBox1->isVisible() || EditRow < 1 || EditCol < kFirstGradeColumn) return;
  QTableWidgetItem* item = StringGrid1->item(EditRow, EditCol);
  if (item == nullptr) return;
  const QRect cell = StringGrid1->visualItemRect(item);
  // Scrolled out of sight, or under the frozen heading: the editor goes with
  // its cell.
  const QRect body = StringGrid1->viewport()->rect().adjusted(0, StringGrid1->rowHeight(0), 0, 0);
  if (!body.intersects(cell)) {
    ComboBox1Exit();
    return;
  }
  ComboBox1->move(StringGrid1->viewport()->mapTo(Panel1, cell.topLeft()));
}

void Tdataout::ComboBox1Change() {
  if (EditRow < 1 || EditCol < kFirstGradeColumn || EditRow > static_cast<int>(GridRows.size())) return;
  const std::optional<std::string> text = QStringToGbk(ComboBox1->currentText());
  if (!text) {
    RefuseInput(ComboBox1, GbkToQString(editorBytes_), WindowTexts::InputRefused());
    return;
  }
  auto& cells = GridRows[static_cast<std::size_t>(EditRow - 1)].Cells;
  // A grade the record cannot hold whole is never typed at all.
  switch (PlanGradeEdit(cells, EditCol, *text, shareBytes_).Fit) {
    case GradeEditFit::Fits: break;
    case GradeEditFit::TextTooLong:
      RefuseInput(ComboBox1, GbkToQString(editorBytes_), WindowTexts::GradeTooLong());
      return;
    case GradeEditFit::TotalTooLong:
      RefuseInput(ComboBox1, GbkToQString(editorBytes_), WindowTexts::TotalTooLong());
      return;
  }
  editorBytes_ = *text;
  const std::optional<RecordChange> change =
      Book.WriteThrough(StringGrid2->currentRow(), cells, EditCol, *text, shareBytes_);
  ShowGridRow(EditRow);
  if (change) {
    cellStep_.Add(*change);
    S3->setEnabled(true);
    EnableUndoRedo();
  }
}

void Tdataout::ComboBox1Exit() {
  if (ComboBox1 != nullptr) ComboBox1->hide();
  FinishEditSteps();
}

void Tdataout::MoveEditor(EditorMove move) {
  const std::optional<GridCell> to =
      EditorMoveTarget({EditRow, EditCol}, move, static_cast<int>(GridRows.size()));
  if (!to) return;
  StringGrid1->setCurrentCell(to->Row, to->Col);
  if (EditRow != to->Row || EditCol != to->Col) {
    bool canSelect = true;
    StringGrid1SelectCell(to->Col, to->Row, canSelect);
  }
}

void Tdataout::RefuseInput(QWidget* where, const QString& restored, const QString& why) {
  InputNotice = why;
  StatusBar1->show();
  StatusBar1->showMessage(why, 8000);
  auto* edit = where == ComboBox1 ? ComboBox1->lineEdit() : qobject_cast<QLineEdit*>(where);
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

bool Tdataout::eventFilter(QObject* watched, QEvent* event) {
  const bool editor = ComboBox1 != nullptr &&
                      (watched == ComboBox1 || watched == ComboBox1->lineEdit());
  if (ComboBox1 != nullptr && EditingKeyFilter(watched, event)) return true;
  // The edit fields' own undo would take back keystrokes the file already
  // holds without the window knowing: Ctrl+Z and Ctrl+Y there are the
  // window's undo and redo, which end the edit in progress as one step.
  if ((editor || watched == Edit1) && IsUndoKey(event)) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (U1->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch)
        U1Click();
      else
        R1Click();
    }
    return true;  // a refused shortcut override lets the menu's shortcut act
  }
  if (watched == Edit1 && event->type() == QEvent::FocusOut) {
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
        ComboBox1Exit();
        StringGrid2->setFocus(Qt::OtherFocusReason);
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
      const bool wordList = now != nullptr && now->window() == ComboBox1->view()->window();
      if (now != ComboBox1 && now != ComboBox1->lineEdit() && !wordList) ComboBox1Exit();
    }
  }
  if (StringGrid1 != nullptr && watched == StringGrid1->viewport() &&
      event->type() == QEvent::Resize)
    PlaceEditor();
  return QMainWindow::eventFilter(watched, event);
}

// ---- the share -------------------------------------------------------------------

void Tdataout::Edit1Change() {
  const std::optional<std::string> text = QStringToGbk(Edit1->text());
  if (!text) {
    RefuseInput(Edit1, GbkToQString(shareBytes_), WindowTexts::InputRefused());
    return;
  }
  if (!IsShareNumber(TrimmedBlanks(*text), true)) {
    RefuseInput(Edit1, GbkToQString(shareBytes_), WindowTexts::ShareRefused());
    return;
  }
  shareBytes_ = *text;
  if (const std::optional<HeadLineChange> change = Book.StoreShare(StringGrid2->currentRow(), *text)) {
    shareStep_.Add(*change);
    S3->setEnabled(true);
    EnableUndoRedo();
  }
  // Every total of the course is checked against the new share at once.
  MarkShare();
  for (int r = 1; r <= static_cast<int>(GridRows.size()); ++r) MarkRow(r);
}
