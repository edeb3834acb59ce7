#pragma once
// The editing view's two grids: views over GridModels with the heading as
// their header (GridHeading). The window speaks of their rows as GridPlaces
// does: the course list's row c + 1 is course c, the student grid's row s + 1
// student s, row 0 the heading; these views turn that into model indexes.
#include <QTableView>
#include <vector>

#include "app/GridModels.h"

// A rectangle of cells, in grid rows and columns, all four inclusive.
struct GridRange {
  int Top = 0;
  int Left = 0;
  int Bottom = 0;
  int Right = 0;
  bool operator==(const GridRange&) const = default;
};

class CourseList : public QTableView {
  Q_OBJECT

 public:
  CourseList(const Lines& titles, QWidget* parent);

  // The titles were rebuilt: the list shows them with the first chosen.
  void ShowTitles();
  // The row chosen: a course's row from 1, -1 when none is.
  int currentRow() const;
  void ChooseRow(int row);

 signals:
  // The chosen row changed (a row from 1).
  void rowChosen(int row);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  CourseListModel model_;
};

class StudentGrid : public QTableView {
  Q_OBJECT

 public:
  StudentGrid(const std::vector<StudentRow>& students, QWidget* parent);

  StudentGridModel& Students() { return model_; }
  // The rows under the heading (one per student, or the empty row).
  int LastRow() const { return model_.rowCount(); }

  // The current cell: its row from 1 and its column; -1 when none is.
  int currentRow() const;
  int currentColumn() const;
  void setCurrentCell(int row, int column);
  // The cell's text as drawn; empty outside the grid (row 0 is the heading).
  QString CellText(int row, int column) const;
  QString Heading(int column) const;

  // The selected rectangles (a contiguous selection has one at most).
  std::vector<GridRange> SelectedRanges() const;
  void SelectRange(const GridRange& range);
  void ScrollToCell(int row, int column);
  QRect CellRect(int row, int column) const;
  // The grid row of a model index (-1 for none).
  static int RowOf(const QModelIndex& index) { return index.isValid() ? index.row() + 1 : -1; }
  QModelIndex IndexOf(int row, int column) const { return model_.index(row - 1, column); }

 signals:
  void currentCellChanged(int row, int column);
  void cellPressed(int row, int column);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // A cell's editor that hides with the focus hands it on along the tab
  // chain, as any widget does; only a Tab on the grid moves its current cell.
  bool focusNextPrevChild(bool next) override;

 private:
  StudentGridModel model_;
};
