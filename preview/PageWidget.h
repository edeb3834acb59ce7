#pragma once
// The page surface of the preview: one cell that is the whole page. It clears
// itself with its brush (the paper colour) and then lets its owner draw the
// margin outline and the page on top, through the page painter it was given.
//
// It has a fixed size (SetCellSize), no border and no scroll bars of its own;
// the main window puts it inside its scrolled area.
#include <QWidget>
#include <functional>

class QPainter;

class PageWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PageWidget(QWidget* parent = nullptr);

  // Draws the page after the cell was cleared; none draws nothing more.
  using PagePainter = std::function<void(QPainter&)>;
  void SetPagePainter(PagePainter painter);

  // The brush the cell is cleared with before the page is drawn.
  void SetCellBrush(const QBrush& brush);
  const QBrush& CellBrush() const { return brush_; }

  // The one column width and row height (both equal to the grid's size).
  void SetCellSize(int width, int height);

  QSize sizeHint() const override { return size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PagePainter paintPage_;
  QBrush brush_;
};
