// Copy and paste of grade cells, as spreadsheets exchange them (tabs between
// cells, line ends between rows). The core lays a block out over the grade
// columns (gradefile/Clipboard); each cell is then written through as if it
// had been typed, and the whole paste is one step to undo.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <set>

#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/Clipboard.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

bool MainWindow::IsClipboardKey(QEvent* event, const QAction* action) const {
  if (action == nullptr) return false;
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  return action->shortcut().matches(pressed) == QKeySequence::ExactMatch;
}

void MainWindow::copyCells() {
  GridRange range;
  const std::vector<GridRange> ranges = studentGrid()->SelectedRanges();
  if (!ranges.empty())
    range = ranges.front();
  else if (studentGrid()->currentRow() >= 1 && studentGrid()->currentColumn() >= kFirstGradeColumn)
    range = {studentGrid()->currentRow(), studentGrid()->currentColumn(), studentGrid()->currentRow(),
             studentGrid()->currentColumn()};
  else
    return;
  CellBlock block;
  for (int r = std::max(1, range.Top); r <= range.Bottom; ++r) {
    if (r > static_cast<int>(rows().size())) break;
    std::vector<std::string>& row = block.emplace_back();
    for (int c = range.Left; c <= range.Right; ++c)
      row.emplace_back(TrimmedBlanks(rows()[static_cast<std::size_t>(r - 1)].Cells[static_cast<std::size_t>(c)]));
  }
  if (!block.empty()) QApplication::clipboard()->setText(GbkToQString(JoinClipboardText(block)));
}

void MainWindow::pasteCells() {
  if (Book.CourseKeys.empty() || views->currentWidget() != editingView_) return;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty()) return;
  // All or nothing: a block with a character the file cannot hold is not
  // half pasted.
  const std::optional<std::string> bytes = QStringToGbk(text);
  if (!bytes) {
    Dialogs().Information(this, WindowTexts::PasteNotGbk());
    return;
  }
  // From the editor's cell, else the current cell (a column left of the
  // grades starts at the coursework), else the first student.
  StudentCell start{0, GradeField::Coursework};
  if (gradeEditor()->isVisible() && gradeCells().Row() >= 1)
    start = {StudentOfRow(gradeCells().Row()), FieldOfColumn(gradeCells().Column())};
  else if (studentGrid()->currentRow() >= 1)
    start = {StudentOfRow(studentGrid()->currentRow()), FieldOfColumn(studentGrid()->currentColumn())};
  const bool students = !rows().empty() && !rows().front().IsPlaceholder();
  const PastePlan plan =
      PlanPaste(SplitClipboardText(*bytes), start, students ? static_cast<int>(rows().size()) : 0);

  QStringList notes;
  QStringList tooLong;
  for (const PasteCell& cell : WriteCells(plan.Cells)) {
    const StudentRow& row = rows()[static_cast<std::size_t>(cell.Place.Student)];
    tooLong << WindowTexts::PasteCellName(GridRow(cell.Place.Student), GbkToQString(TrimmedBlanks(row.Cells[1])),
                                          studentGrid()->Heading(GridColumn(cell.Place.Field)).trimmed(),
                                          GbkToQString(cell.Text));
  }
  if (!tooLong.isEmpty()) notes << WindowTexts::PasteTooLong(tooLong);
  if (plan.ColumnsCut > 0) notes << WindowTexts::PasteColumnsCut(plan.ColumnsCut);
  if (plan.RowsLeftOut > 0) notes << WindowTexts::PasteRowsLeftOut(plan.RowsLeftOut);
  if (!notes.isEmpty()) Dialogs().Information(this, notes.join(QLatin1Char('\n')));
}

std::vector<PasteCell> MainWindow::WriteCells(const std::vector<PasteCell>& written) {
  leaveGradeEditor();  // the cell edit in progress is a step of its own
  EditStep step;
  std::set<int> changedRows;
  std::vector<PasteCell> refused;
  for (const PasteCell& cell : written) {
    StudentRow& student = rows()[static_cast<std::size_t>(cell.Place.Student)];
    if (PlanGradeEdit(student, cell.Place.Field, cell.Text, editingView_->share()).Fit != GradeEditFit::Fits) {
      refused.push_back(cell);
      continue;
    }
    if (const std::optional<RecordChange> change = Book.WriteThrough(
            CourseOfListRow(courseList()->currentRow()), student, cell.Place.Field, cell.Text, editingView_->share()))
      step.Add(*change);
    changedRows.insert(GridRow(cell.Place.Student));
  }
  for (int row : changedRows) editingView_->ShowRow(row);
  if (!step.Empty()) PushEditStep(std::move(step));
  if (written.empty()) return refused;
  // The block stays selected, its first cell current, the editor away until
  // a key or a click calls it.
  const int top = GridRow(written.front().Place.Student);
  const int bottom = GridRow(written.back().Place.Student);
  const int left = GridColumn(written.front().Place.Field);
  int right = left;
  for (const PasteCell& cell : written) right = std::max(right, GridColumn(cell.Place.Field));
  const QSignalBlocker block(studentGrid());
  studentGrid()->setCurrentCell(top, left);
  studentGrid()->SelectRange({top, left, bottom, right});
  gradeCells().ForgetCell();
  studentGrid()->ScrollToCell(top, left);
  studentGrid()->setFocus(Qt::OtherFocusReason);
  return refused;
}

void MainWindow::ClearSelectedCells() {
  const bool students = !rows().empty() && !rows().front().IsPlaceholder();
  const std::vector<GridRange> ranges = studentGrid()->SelectedRanges();
  if (!students || ranges.empty()) return;
  const GridRange& range = ranges.front();
  std::vector<PasteCell> cleared;
  for (int r = std::max(1, range.Top); r <= std::min(range.Bottom, static_cast<int>(rows().size())); ++r)
    for (int c = std::max(range.Left, kFirstGradeColumn); c <= std::min(range.Right, kLastGradeColumn); ++c)
      cleared.push_back({{StudentOfRow(r), FieldOfColumn(c)}, std::string()});
  WriteCells(cleared);
}
