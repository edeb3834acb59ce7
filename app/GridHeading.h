#pragma once
// The heading of a grid, as the grid's header: each title drawn as the grid
// draws a fixed cell (the face colour, black text, the grid's own lines), so
// the heading looks like a first row of the grid, and stays in sight while
// the rows scroll under it. The titles are the model's header data, which is
// also what a screen reader announces for a column.
#include <QColor>
#include <QHeaderView>

class QTableView;

class GridHeading : public QHeaderView {
 public:
  // The face of the fixed cells: headings, row numbers, the student's own columns.
  static QColor FixedFace();

  // Becomes `grid`'s horizontal header, one grid row high.
  explicit GridHeading(QTableView* grid);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTableView* grid_;
};
