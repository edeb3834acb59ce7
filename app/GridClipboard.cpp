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
#include <QWidget>
#include <set>

#include "app/GridClipboard.h"

#include "app/DialogSeam.h"
#include "app/EditingGrids.h"
#include "app/EditingView.h"
#include "app/GradeEditor.h"
#include "app/GridPlaces.h"
#include "app/WindowTexts.h"
#include "gradefile/Clipboard.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

GridClipboard::GridClipboard(QWidget& window, GradeBook& book, EditingView& view, DialogSeam& dialogs,
                             WindowHooks hooks)
    : QObject(&window), window_(window), book_(book), view_(view), dialogs_(dialogs), hooks_(std::move(hooks)) {}

bool GridClipboard::IsKeyOf(QEvent* event, const QAction* action) {
  if (action == nullptr) return false;
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  return action->shortcut().matches(pressed) == QKeySequence::ExactMatch;
}

void GridClipboard::copyCells() {
  GridRange range;
  const std::vector<GridRange> ranges = view_.studentGrid()->SelectedRanges();
  if (!ranges.empty())
    range = ranges.front();
  else if (view_.studentGrid()->currentRow() >= 1 && view_.studentGrid()->currentColumn() >= kFirstGradeColumn)
    range = {view_.studentGrid()->currentRow(), view_.studentGrid()->currentColumn(), view_.studentGrid()->currentRow(),
             view_.studentGrid()->currentColumn()};
  else
    return;
  CellBlock block;
  for (int r = std::max(1, range.Top); r <= range.Bottom; ++r) {
    if (r > static_cast<int>(view_.rows().size())) break;
    std::vector<std::string>& row = block.emplace_back();
    for (int c = range.Left; c <= range.Right; ++c)
      row.emplace_back(TrimmedBlanks(view_.rows()[static_cast<std::size_t>(r - 1)].Cells[static_cast<std::size_t>(c)]));
  }
  if (!block.empty()) QApplication::clipboard()->setText(GbkToQString(JoinClipboardText(block)));
}

void GridClipboard::pasteCells() {
  if (book_.CourseKeys.empty() || !hooks_.Editing()) return;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty()) return;
  // All or nothing: a block with a character the file cannot hold is not
  // half pasted.
  const std::optional<std::string> bytes = QStringToGbk(text);
  if (!bytes) {
    dialogs_.Information(&window_, WindowTexts::PasteNotGbk());
    return;
  }
  // From the editor's cell, else the current cell (a column left of the
  // grades starts at the coursework), else the first student.
  StudentCell start{0, GradeField::Coursework};
  if (view_.editor().Field()->isVisible() && view_.editor().Row() >= 1)
    start = {StudentOfRow(view_.editor().Row()), FieldOfColumn(view_.editor().Column())};
  else if (view_.studentGrid()->currentRow() >= 1)
    start = {StudentOfRow(view_.studentGrid()->currentRow()), FieldOfColumn(view_.studentGrid()->currentColumn())};
  const bool students = !view_.rows().empty() && !view_.rows().front().IsPlaceholder();
  const PastePlan plan =
      PlanPaste(SplitClipboardText(*bytes), start, students ? static_cast<int>(view_.rows().size()) : 0);

  QStringList notes;
  QStringList tooLong;
  for (const PasteCell& cell : WriteCells(plan.Cells)) {
    const StudentRow& row = view_.rows()[static_cast<std::size_t>(cell.Place.Student)];
    tooLong << WindowTexts::PasteCellName(GridRow(cell.Place.Student), GbkToQString(TrimmedBlanks(row.Cells[1])),
                                          view_.studentGrid()->Heading(GridColumn(cell.Place.Field)).trimmed(),
                                          GbkToQString(cell.Text));
  }
  if (!tooLong.isEmpty()) notes << WindowTexts::PasteTooLong(tooLong);
  if (plan.ColumnsCut > 0) notes << WindowTexts::PasteColumnsCut(plan.ColumnsCut);
  if (plan.RowsLeftOut > 0) notes << WindowTexts::PasteRowsLeftOut(plan.RowsLeftOut);
  if (!notes.isEmpty()) dialogs_.Information(&window_, notes.join(QLatin1Char('\n')));
}

std::vector<PasteCell> GridClipboard::WriteCells(const std::vector<PasteCell>& written) {
  hooks_.LeaveEditor();
  EditStep step;
  std::set<int> changedRows;
  std::vector<PasteCell> refused;
  for (const PasteCell& cell : written) {
    StudentRow& student = view_.rows()[static_cast<std::size_t>(cell.Place.Student)];
    if (PlanGradeEdit(student, cell.Place.Field, cell.Text, view_.share()).Fit != GradeEditFit::Fits) {
      refused.push_back(cell);
      continue;
    }
    if (const std::optional<RecordChange> change = book_.WriteThrough(
            CourseOfListRow(view_.courseList()->currentRow()), student, cell.Place.Field, cell.Text, view_.share()))
      step.Add(*change);
    changedRows.insert(GridRow(cell.Place.Student));
  }
  for (int row : changedRows) view_.ShowRow(row);
  if (!step.Empty()) hooks_.Keep(std::move(step));
  if (written.empty()) return refused;
  // The block stays selected, its first cell current, the editor away until
  // a key or a click calls it.
  const int top = GridRow(written.front().Place.Student);
  const int bottom = GridRow(written.back().Place.Student);
  const int left = GridColumn(written.front().Place.Field);
  int right = left;
  for (const PasteCell& cell : written) right = std::max(right, GridColumn(cell.Place.Field));
  const QSignalBlocker block(view_.studentGrid());
  view_.studentGrid()->setCurrentCell(top, left);
  view_.studentGrid()->SelectRange({top, left, bottom, right});
  view_.editor().ForgetCell();
  view_.studentGrid()->ScrollToCell(top, left);
  view_.studentGrid()->setFocus(Qt::OtherFocusReason);
  return refused;
}

void GridClipboard::ClearSelectedCells() {
  const bool students = !view_.rows().empty() && !view_.rows().front().IsPlaceholder();
  const std::vector<GridRange> ranges = view_.studentGrid()->SelectedRanges();
  if (!students || ranges.empty()) return;
  const GridRange& range = ranges.front();
  std::vector<PasteCell> cleared;
  for (int r = std::max(1, range.Top); r <= std::min(range.Bottom, static_cast<int>(view_.rows().size())); ++r)
    for (int c = std::max(range.Left, kFirstGradeColumn); c <= std::min(range.Right, kLastGradeColumn); ++c)
      cleared.push_back({{StudentOfRow(r), FieldOfColumn(c)}, std::string()});
  WriteCells(cleared);
}
