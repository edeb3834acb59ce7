#include "preview/PageWidget.h"

#include <QPaintEvent>
#include <QPainter>

PageWidget::PageWidget(QWidget* parent) : QWidget(parent), brush_(Qt::white) {
  setObjectName(QStringLiteral("pageWidget"));
  // The whole cell is painted on every paint event; nothing shows through.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(1, 1);
}

void PageWidget::SetPagePainter(PagePainter painter) {
  paintPage_ = std::move(painter);
  update();
}

void PageWidget::SetCellBrush(const QBrush& brush) {
  brush_ = brush;
  update();
}

void PageWidget::SetCellSize(int width, int height) {
  setFixedSize(qMax(width, 0), qMax(height, 0));
}

void PageWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Qt clips to the exposed region; the page is drawn whole and only the
  // uncovered part reaches the screen.
  painter.fillRect(event->rect(), brush_);
  if (paintPage_) paintPage_(painter);
}
