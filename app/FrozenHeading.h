#pragma once
// Keeps the heading row (row 0) of a grid in sight while its rows scroll: a
// view of the same model that shows only row 0 lies over the top of the grid.
// Row 0 stays a row of the grid itself, so grid coordinates do not change.
class QTableView;
class QTableWidget;

// Returns the overlay (owned by the grid).
QTableView* FreezeHeadingRow(QTableWidget* grid);

// Scrolls the grid so that `row` is not hidden under the frozen heading.
void KeepRowClearOfHeading(QTableWidget* grid, int row);
