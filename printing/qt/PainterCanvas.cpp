#include "printing/qt/PainterCanvas.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPen>

#include "printing/PageMetrics.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/QtText.h"

namespace {
constexpr std::size_t kKnownFonts = 8;
constexpr std::size_t kPlacedTexts = 4096;
}

PainterCanvas::PainterCanvas(QPainter& painter, int dpi) : painter_(painter), dpi_(dpi) {
  fonts_.push_back(KnownFont{{}, 0, painter.font(), {}, {}, false, {}, {}});
}

void PainterCanvas::SetFontDpi(int dpi) {
  dpi_ = dpi;
  if (points_ > 0) SetFont(spec_, points_);
}

void PainterCanvas::SetFont(const FontSpec& font, int points) {
  Flush();
  spec_ = font;
  points_ = points;
  const int pixels = PointsToPixels(points, dpi_);
  current_ = 0;
  for (std::size_t i = 1; i < fonts_.size() && current_ == 0; ++i)
    if (fonts_[i].Pixels == pixels && fonts_[i].Wanted == font) current_ = i;
  if (current_ == 0) {
    if (fonts_.size() > kKnownFonts) fonts_.resize(1);
    KnownFont known{font, pixels, ToQFont(font, pixels), {}, {}, false, {}, {}};
    known.Plain = !known.Font.underline() && !known.Font.strikeOut();
    fonts_.push_back(std::move(known));
    current_ = fonts_.size() - 1;
  }
  painter_.setFont(Current().Font);
}

const PainterCanvas::PlacedText& PainterCanvas::Place(std::string_view gbk) {
  KnownFont& known = Current();
  auto found = known.Placed.find(std::string(gbk));
  if (found != known.Placed.end()) return found->second;
  if (known.Placed.size() >= kPlacedTexts) known.Placed.clear();  // mostly names and numbers, seen once
  PlacedText& placed = known.Placed[std::string(gbk)];
  if (!known.Raw) known.Raw = QRawFont::fromFont(known.Font);
  const QRawFont& raw = *known.Raw;
  if (!raw.isValid()) return placed;
  const QString text = GbkToQString(gbk);
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.isSurrogate() || (c.unicode() >= 0x0590 && c.unicode() < 0x2E80)) return placed;
  const QList<quint32> glyphs = raw.glyphIndexesForString(text);
  if (glyphs.size() != text.size() || glyphs.contains(0)) return placed;  // a face falls back: shape it
  const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
  placed.Plain = true;
  QPointF at;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    if (text[i] != u' ') {
      placed.Glyphs.push_back(glyphs[i]);
      placed.Offsets.push_back(at);
    }
    at += advances[i];
  }
  return placed;
}

void PainterCanvas::DrawPlaced(const QPointF& baseline, const PlacedText& placed) {
  if (placed.Glyphs.isEmpty()) return;
  if (gathering_) {
    for (const QPointF& offset : placed.Offsets) gatheredPositions_.push_back(baseline + offset);
    gatheredGlyphs_.append(placed.Glyphs);
    return;
  }
  QGlyphRun run;
  run.setRawFont(*Current().Raw);
  run.setGlyphIndexes(placed.Glyphs);
  run.setPositions(placed.Offsets);
  painter_.drawGlyphRun(baseline, run);
}

void PainterCanvas::Flush() {
  if (gatheredGlyphs_.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(*Current().Raw);
  run.setGlyphIndexes(gatheredGlyphs_);
  run.setPositions(gatheredPositions_);
  painter_.drawGlyphRun(QPointF(0, 0), run);
  gatheredGlyphs_.clear();
  gatheredPositions_.clear();
}

const QFontMetrics& PainterCanvas::Metrics() {
  KnownFont& known = Current();
  if (!known.Metrics) known.Metrics.emplace(known.Font, painter_.device());
  return *known.Metrics;
}

int PainterCanvas::TextWidth(std::string_view gbk) {
  return Metrics().horizontalAdvance(GbkToQString(gbk));
}

int PainterCanvas::TextHeight(std::string_view) { return Metrics().height(); }

void PainterCanvas::TextOut(int x, int y, std::string_view gbk) {
  if (gbk.empty()) return;
  KnownFont& known = Current();
  if (!known.Ascent) known.Ascent = Metrics().ascent();
  // (x, y) is the top-left corner of the text cell; Qt draws at the baseline.
  const QPoint baseline(x, y + *known.Ascent);
  if (placing_ && known.Plain) {
    const PlacedText& placed = Place(gbk);
    if (placed.Plain) {
      DrawPlaced(baseline, placed);
      return;
    }
  }
  Flush();
  painter_.drawText(baseline, GbkToQString(gbk));
}

void PainterCanvas::SetPenStyle(PenStyle style) {
  Flush();
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

void PainterCanvas::Line(int x1, int y1, int x2, int y2) {
  Flush();
  painter_.drawLine(x1, y1, x2, y2);
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  Flush();
  const QBrush brush = painter_.brush();
  painter_.setBrush(Qt::NoBrush);
  // As the sheet's canvas defines it, the outline covers left..right-1 and
  // top..bottom-1; Qt's outline of a QRect ends at x + width.
  painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  painter_.setBrush(brush);
}
