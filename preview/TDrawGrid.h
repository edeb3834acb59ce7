#pragma once
// The page surface of the preview: one cell that is the whole page. It clears
// itself with its brush (the paper colour) and lets the main window draw the
// margin outline and the page on top.
//
// The main window creates it in FormCreate as
//     DrawGrid1 = new TDrawGrid(this, <container inside ScrollBox1>);
// and sizes it only through SetDrawBorder; it has a fixed size, no border and
// no scroll bars of its own.
#include <QWidget>

class Tdataout;

class TDrawGrid : public QWidget {
  Q_OBJECT

 public:
  explicit TDrawGrid(Tdataout* owner, QWidget* parent = nullptr);

  // The brush the cell is cleared with before the page is drawn.
  void SetCellBrush(const QBrush& brush);
  const QBrush& CellBrush() const { return brush_; }

  // The one column width and row height (both equal to the grid's size).
  void SetCellSize(int width, int height);

  QSize sizeHint() const override { return size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Tdataout* owner_;
  QBrush brush_;
};
