#pragma once
// The sheet's canvas on a QPainter: a widget, a QImage, a QPrinter or a
// QPdfWriter. Lengths are the painter's device pixels; a font of S points is
// set with a pixel size of Round(S * dpi / 72), so the font DPI given here,
// not the device's logical DPI, maps points to pixels (as the page metrics
// were measured).
#include <QFont>
#include <QFontMetrics>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "printing/Canvas.h"

class QPainter;

class PainterCanvas : public Canvas {
 public:
  PainterCanvas(QPainter& painter, int dpi);

  void SetFontDpi(int dpi) override;
  int FontDpi() const override { return dpi_; }
  void SetFont(const FontSpec& font, int points) override;
  int TextWidth(std::string_view gbk) override;
  int TextHeight(std::string_view gbk) override;
  void TextOut(int x, int y, std::string_view gbk) override;
  void SetPenStyle(PenStyle style) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int left, int top, int right, int bottom) override;

  // Gathers the texts drawn glyph by glyph in one font into one glyph run,
  // drawn at Flush and before anything else is drawn or the font changes:
  // a PDF page then holds one text object where it held hundreds. Whoever
  // turns it on flushes before the page ends.
  void SetGathering(bool on) {
    Flush();
    gathering_ = on;
  }
  void Flush();

  // Off: every text goes through Qt's text layout with its characters, as a
  // device that records what was drawn needs (a glyph run reaches the paint
  // engine without its characters or its place). On by default.
  void SetGlyphPlacing(bool on) {
    Flush();
    placing_ = on;
  }

  QPainter& Painter() { return painter_; }
  const QFont& CurrentFont() const { return fonts_[current_].Font; }

 private:
  const QFontMetrics& Metrics();
  // Places the text glyph by glyph from the font's own character map,
  // without shaping, into the run being gathered or one of its own: false,
  // drawing nothing, when a character needs more than that or is no whole
  // GBK character. Spaces are left out: they draw nothing.
  bool DrawPlaced(const QPointF& baseline, std::string_view gbk);
  QPainter& painter_;
  int dpi_;
  FontSpec spec_;
  int points_ = 0;
  // The fonts set so far (a sheet uses two, in turn on every page), so that
  // going back to one does not resolve and measure it again.
  struct KnownFont {
    FontSpec Wanted;
    int Pixels = 0;
    QFont Font;
    std::optional<QFontMetrics> Metrics;
    std::optional<QRawFont> Raw;  // the font's first face, for plain texts
    bool Plain = false;           // no underline or strike-out to draw
    std::optional<int> Ascent;
    // The glyph and advance of every GBK character met so far (by its code:
    // the byte, or the lead byte times 256 plus the trail byte), in rows of
    // one lead byte: a sheet repeats its digits, grade words and the
    // characters of its names on every page.
    struct CharGlyph {
      enum : std::uint8_t { Unknown, Placed, Blank, Shaped } Kind = Unknown;
      quint32 Glyph = 0;
      QPointF Advance;
    };
    using CharRow = std::array<CharGlyph, 256>;
    std::array<std::unique_ptr<CharRow>, 256> Chars;
  };
  const KnownFont::CharGlyph& GlyphOf(KnownFont& known, unsigned code, std::string_view gbk);
  KnownFont& Current() { return fonts_[current_]; }
  std::vector<KnownFont> fonts_;
  std::size_t current_ = 0;
  bool gathering_ = false;
  bool placing_ = true;
  QList<quint32> gatheredGlyphs_;
  QList<QPointF> gatheredPositions_;
  QList<quint32> placedGlyphs_;  // one text's, until it is placed whole
  QList<QPointF> placedPositions_;
};
