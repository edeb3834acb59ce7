#include "printing/qt/PainterCanvas.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPen>

#include "printing/PageMetrics.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/QtText.h"

namespace {
constexpr std::size_t kKnownFonts = 8;
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

const PainterCanvas::KnownFont::CharGlyph& PainterCanvas::GlyphOf(KnownFont& known, unsigned code,
                                                                  std::string_view gbk) {
  std::unique_ptr<KnownFont::CharRow>& row = known.Chars[code >> 8];
  if (!row) row = std::make_unique<KnownFont::CharRow>();
  KnownFont::CharGlyph& glyph = (*row)[code & 0xFF];
  if (glyph.Kind != KnownFont::CharGlyph::Unknown) return glyph;
  glyph.Kind = KnownFont::CharGlyph::Shaped;
  const QString text = GbkToQString(gbk);
  if (text.size() != 1) return glyph;
  const char16_t c = text[0].unicode();
  // Controls, and the scripts from Hebrew up to the CJK radicals, are shaped.
  if (c < 0x20 || (c >= 0x0590 && c < 0x2E80) || QChar::isSurrogate(c)) return glyph;
  const QList<quint32> glyphs = known.Raw->glyphIndexesForString(text);
  if (glyphs.size() != 1 || glyphs[0] == 0) return glyph;  // a face falls back: shape it
  glyph.Glyph = glyphs[0];
  glyph.Advance = known.Raw->advancesForGlyphIndexes(glyphs).value(0);
  glyph.Kind = c == u' ' ? KnownFont::CharGlyph::Blank : KnownFont::CharGlyph::Placed;
  return glyph;
}

bool PainterCanvas::DrawPlaced(const QPointF& baseline, std::string_view gbk) {
  KnownFont& known = Current();
  if (!known.Raw) known.Raw = QRawFont::fromFont(known.Font);
  if (!known.Raw->isValid()) return false;
  placedGlyphs_.clear();
  placedPositions_.clear();
  QPointF at = baseline;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    std::size_t length = 1;
    unsigned code = lead;
    if (lead >= 0x80) {
      // Two bytes, or no character this table keeps (the four-byte forms).
      const auto trail = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0u;
      if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
      length = 2;
      code = lead << 8 | trail;
    }
    const KnownFont::CharGlyph& glyph = GlyphOf(known, code, gbk.substr(i, length));
    if (glyph.Kind == KnownFont::CharGlyph::Shaped) return false;
    if (glyph.Kind == KnownFont::CharGlyph::Placed) {
      placedGlyphs_.push_back(glyph.Glyph);
      placedPositions_.push_back(at);
    }
    at += glyph.Advance;
    i += length;
  }
  if (placedGlyphs_.isEmpty()) return true;
  if (gathering_) {
    gatheredGlyphs_.append(placedGlyphs_);
    gatheredPositions_.append(placedPositions_);
    return true;
  }
  for (QPointF& position : placedPositions_) position -= baseline;
  QGlyphRun run;
  run.setRawFont(*known.Raw);
  run.setGlyphIndexes(placedGlyphs_);
  run.setPositions(placedPositions_);
  painter_.drawGlyphRun(baseline, run);
  return true;
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
  if (placing_ && known.Plain && DrawPlaced(baseline, gbk)) return;
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
