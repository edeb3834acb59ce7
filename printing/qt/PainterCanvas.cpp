#include "printing/qt/PainterCanvas.h"

#include <QPainter>
#include <QPen>

#include "printing/PageMetrics.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/QtText.h"

PainterCanvas::PainterCanvas(QPainter& painter, int dpi)
    : painter_(painter), dpi_(dpi), font_(painter.font()) {}

void PainterCanvas::SetFontDpi(int dpi) {
  dpi_ = dpi;
  if (points_ > 0) SetFont(spec_, points_);
}

void PainterCanvas::SetFont(const FontSpec& font, int points) {
  spec_ = font;
  points_ = points;
  font_ = ToQFont(font, PointsToPixels(points, dpi_));
  painter_.setFont(font_);
  metrics_.reset();
}

const QFontMetrics& PainterCanvas::Metrics() {
  if (!metrics_) metrics_.emplace(font_, painter_.device());
  return *metrics_;
}

int PainterCanvas::TextWidth(std::string_view gbk) {
  return Metrics().horizontalAdvance(GbkToQString(gbk));
}

int PainterCanvas::TextHeight(std::string_view) { return Metrics().height(); }

void PainterCanvas::TextOut(int x, int y, std::string_view gbk) {
  if (gbk.empty()) return;
  // (x, y) is the top-left corner of the text cell; Qt draws at the baseline.
  painter_.drawText(QPoint(x, y + Metrics().ascent()), GbkToQString(gbk));
}

void PainterCanvas::SetPenStyle(PenStyle style) {
  QPen pen = painter_.pen();
  switch (style) {
    case PenStyle::Solid: pen.setStyle(Qt::SolidLine); break;
    case PenStyle::Dash: pen.setStyle(Qt::DashLine); break;
    case PenStyle::Dot: pen.setStyle(Qt::DotLine); break;
    case PenStyle::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case PenStyle::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case PenStyle::Clear: pen.setStyle(Qt::NoPen); break;
  }
  painter_.setPen(pen);
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2) { painter_.drawLine(x1, y1, x2, y2); }

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  const QBrush brush = painter_.brush();
  painter_.setBrush(Qt::NoBrush);
  // As the sheet's canvas defines it, the outline covers left..right-1 and
  // top..bottom-1; Qt's outline of a QRect ends at x + width.
  painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  painter_.setBrush(brush);
}
