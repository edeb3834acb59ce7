#include "app/EditingGrids.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/GridHeading.h"

namespace {

// The grids' common set-up: one 20-pixel line per row, nothing edited in
// place, no word wrap.
void SetUpGridView(QTableView& grid) {
  grid.verticalHeader()->hide();
  grid.verticalHeader()->setMinimumSectionSize(20);
  grid.verticalHeader()->setDefaultSectionSize(20);
  grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid.setWordWrap(false);
}

}  // namespace

// ---- the course list -------------------------------------------------------------

CourseList::CourseList(const Lines& titles, QWidget* parent) : QTableView(parent), model_(titles, this) {
  setModel(&model_);
  SetUpGridView(*this);
  new GridHeading(this);
}

void CourseList::ShowTitles() {
  model_.Reset();
  setCurrentIndex(model_.index(0, 0));
  scrollToTop();
}

int CourseList::currentRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : -1;
}

void CourseList::ChooseRow(int row) { setCurrentIndex(model_.index(row - 1, 0)); }

void CourseList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  emit rowChosen(current.isValid() ? current.row() + 1 : -1);
}

// ---- the student grid ------------------------------------------------------------

StudentGrid::StudentGrid(const std::vector<StudentRow>& students, QWidget* parent)
    : QTableView(parent), model_(students, this) {
  setModel(&model_);
  SetUpGridView(*this);
  new GridHeading(this);
  connect(this, &QAbstractItemView::pressed, this,
          [this](const QModelIndex& index) { emit cellPressed(RowOf(index), index.column()); });
}

int StudentGrid::currentRow() const { return RowOf(currentIndex()); }

int StudentGrid::currentColumn() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.column() : -1;
}

void StudentGrid::setCurrentCell(int row, int column) { setCurrentIndex(IndexOf(row, column)); }

QString StudentGrid::CellText(int row, int column) const { return IndexOf(row, column).data().toString(); }

QString StudentGrid::Heading(int column) const { return model_.headerData(column, Qt::Horizontal).toString(); }

std::vector<GridRange> StudentGrid::SelectedRanges() const {
  std::vector<GridRange> ranges;
  if (selectionModel() == nullptr) return ranges;
  for (const QItemSelectionRange& range : selectionModel()->selection())
    ranges.push_back({range.top() + 1, range.left(), range.bottom() + 1, range.right()});
  return ranges;
}

void StudentGrid::SelectRange(const GridRange& range) {
  const QModelIndex first = IndexOf(range.Top, range.Left);
  const QModelIndex last = IndexOf(range.Bottom, range.Right);
  if (!first.isValid() || !last.isValid()) return;
  selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::Select);
}

void StudentGrid::ScrollToCell(int row, int column) {
  if (const QModelIndex cell = IndexOf(row, column); cell.isValid()) scrollTo(cell);
}

QRect StudentGrid::CellRect(int row, int column) const { return visualRect(IndexOf(row, column)); }

bool StudentGrid::focusNextPrevChild(bool next) {
  const QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && focus != this && isAncestorOf(focus)) return QAbstractScrollArea::focusNextPrevChild(next);
  return QTableView::focusNextPrevChild(next);
}

void StudentGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  emit currentCellChanged(RowOf(current), current.isValid() ? current.column() : -1);
}
