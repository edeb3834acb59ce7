#include "app/Glyphs.h"

#include <cmath>

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QProxyStyle>

namespace {

const QColor kInk(32, 48, 96);
// The glyphs of the extension buttons, after the tool bar's.
constexpr int kMoreRight = 17;
constexpr int kMoreDown = 18;
const QColor kAccent(0, 110, 200);

// A filled arrow head pointing along (dx, dy) with its tip at `tip`.
void ArrowHead(QPainter& p, QPointF tip, QPointF dir, double size) {
  const QPointF n(-dir.y(), dir.x());
  QPolygonF head;
  head << tip << tip - dir * size + n * size * 0.6 << tip - dir * size - n * size * 0.6;
  p.setBrush(kAccent);
  p.setPen(Qt::NoPen);
  p.drawPolygon(head);
}

// An arrow from `from` to `to` with a head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to) {
  QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  d /= len;
  p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(from, to - d * 3.5);
  ArrowHead(p, to, d, 5);
}

void Page(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  p.drawRect(r);
}

void Magnifier(QPainter& p, bool plus) {
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(QColor(230, 242, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9.5, 9.5));
  p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
  p.setPen(QPen(kAccent, 1.6));
  p.drawLine(QPointF(3.8, 6.25), QPointF(8.7, 6.25));
  if (plus) p.drawLine(QPointF(6.25, 3.8), QPointF(6.25, 8.7));
}

void Printer(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));       // paper in
  p.setBrush(QColor(200, 205, 215));
  p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);  // body
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 9.5, 7, 5));       // paper out
  p.setPen(QPen(kInk, 0.8));
  p.drawLine(QPointF(5.5, 11.5), QPointF(10.5, 11.5));
  p.drawLine(QPointF(5.5, 13), QPointF(10.5, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 170, 60));
  p.drawEllipse(QRectF(11.5, 7, 1.8, 1.8));
}

void Draw(QPainter& p, int index) {
  switch (index) {
    case 1:  // previous page
      ArrowHead(p, QPointF(3, 8), QPointF(-1, 0), 9);
      p.fillRect(QRectF(12, 3, 2, 10), kAccent);
      break;
    case 2:  // next page
      ArrowHead(p, QPointF(13, 8), QPointF(1, 0), 9);
      p.fillRect(QRectF(2, 3, 2, 10), kAccent);
      break;
    case 3: {  // choose a page
      Page(p, QRectF(2.5, 1.5, 9, 12));
      QFont f;
      f.setPixelSize(8);
      f.setBold(true);
      p.setFont(f);
      p.setPen(kInk);
      p.drawText(QRectF(2.5, 2, 9, 11), Qt::AlignCenter, QStringLiteral("#"));
      Arrow(p, QPointF(15, 15), QPointF(10, 10));
      break;
    }
    case 4: Magnifier(p, true); break;
    case 5: Magnifier(p, false); break;
    case 6:  // top of the page
      p.fillRect(QRectF(2, 1.5, 12, 2), kInk);
      Arrow(p, QPointF(8, 15), QPointF(8, 4.5));
      break;
    case 7:  // bottom of the page
      p.fillRect(QRectF(2, 12.5, 12, 2), kInk);
      Arrow(p, QPointF(8, 1), QPointF(8, 11.5));
      break;
    case 8:  // left edge
      p.fillRect(QRectF(1.5, 2, 2, 12), kInk);
      Arrow(p, QPointF(15, 8), QPointF(4.5, 8));
      break;
    case 9:  // right edge
      p.fillRect(QRectF(12.5, 2, 2, 12), kInk);
      Arrow(p, QPointF(1, 8), QPointF(11.5, 8));
      break;
    case 10:  // top left corner
      p.fillRect(QRectF(1.5, 1.5, 12, 2), kInk);
      p.fillRect(QRectF(1.5, 1.5, 2, 12), kInk);
      Arrow(p, QPointF(14.5, 14.5), QPointF(5, 5));
      break;
    case 11:  // bottom right corner
      p.fillRect(QRectF(2.5, 12.5, 12, 2), kInk);
      p.fillRect(QRectF(12.5, 2.5, 2, 12), kInk);
      Arrow(p, QPointF(1.5, 1.5), QPointF(11, 11));
      break;
    case 15: {  // printer set-up: the printer with a small spanner
      p.save();
      p.scale(0.85, 0.85);
      Printer(p);
      p.restore();
      p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9.5, 15), QPointF(14, 10.5));
      p.setPen(QPen(kAccent, 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(12.2, 7.8, 3.2, 3.2));
      break;
    }
    case 16: Printer(p); break;
    case kMoreRight:
    case kMoreDown: {  // a tool or menu bar's items that do not fit
      p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      if (index == kMoreDown) p.translate(16, 0), p.rotate(90);
      for (double x : {4.5, 8.5}) p.drawPolyline(QPolygonF({QPointF(x, 4.5), QPointF(x + 3.5, 8), QPointF(x, 11.5)}));
      break;
    }
    default: break;
  }
}

}  // namespace

namespace {

// Draws a tool glyph only when a button first shows it: the tool bar waits
// hidden until the preview opens, and a start should not paint 26 pixmaps
// nobody sees yet.
class GlyphEngine : public QIconEngine {
 public:
  explicit GlyphEngine(int index) : index_(index) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int scale = size.width() > 16 ? 2 : 1;
    QPixmap& drawn = drawn_[scale - 1];
    if (drawn.isNull()) {
      drawn = QPixmap(16 * scale, 16 * scale);
      drawn.setDevicePixelRatio(scale);
      drawn.fill(Qt::transparent);
      QPainter p(&drawn);
      p.setRenderHint(QPainter::Antialiasing);
      Draw(p, index_);
    }
    if (mode == QIcon::Normal || mode == QIcon::Active) return drawn;
    // Disabled and selected glyphs as the style makes them from any icon.
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    return size.boundedTo(QSize(32, 32));
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }

  QIconEngine* clone() const override { return new GlyphEngine(index_); }

 private:
  int index_;
  QPixmap drawn_[2];
};

}  // namespace

QIcon ToolGlyph(int index) { return QIcon(new GlyphEngine(index)); }

namespace {

class GlyphStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
    if (which == SP_ToolBarHorizontalExtensionButton) return ToolGlyph(kMoreRight);
    if (which == SP_ToolBarVerticalExtensionButton) return ToolGlyph(kMoreDown);
    return QProxyStyle::standardIcon(which, option, widget);
  }
};

}  // namespace

void InstallGlyphStyle() { QApplication::setStyle(new GlyphStyle(QApplication::style()->name())); }

QIcon WindowIcon() {
  QIcon icon;
  for (int size : {16, 32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 22, 28));
    p.setPen(QPen(QColor(150, 160, 180), 1));
    for (int y = 8; y <= 26; y += 4) p.drawLine(QPointF(7, y), QPointF(23, y));
    p.drawLine(QPointF(13, 6), QPointF(13, 28));
    QPainterPath tick;
    tick.moveTo(14, 18);
    tick.lineTo(19, 25);
    tick.lineTo(30, 9);
    p.setPen(QPen(QColor(210, 30, 30), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
