#pragma once
// The preview's canvas: the page is laid out in printer pixels, exactly as it
// will print, and the painter's transform scales it to the screen. Text is
// measured on the printer (as the print job measures it) and drawn without
// hinting, so every glyph keeps its printed width at any zoom instead of the
// screen's own, narrower or wider, whole-pixel widths.
#include <QFont>
#include <QFontMetrics>
#include <optional>

#include "printing/qt/PainterCanvas.h"

class QPaintDevice;
class QPainter;

class PrinterLaidCanvas : public Canvas {
 public:
  // `painter` draws on the screen with its transform already set from
  // printer pixels to screen pixels; `printer` measures text; `dpi` is the
  // printer's resolution, which maps points to pixels.
  PrinterLaidCanvas(QPainter& painter, QPaintDevice& printer, int dpi);

  void SetFontDpi(int dpi) override;
  int FontDpi() const override { return drawing_.FontDpi(); }
  void SetFont(const FontSpec& font, int points) override;
  int TextWidth(std::string_view gbk) override;
  int TextHeight(std::string_view gbk) override;
  void TextOut(int x, int y, std::string_view gbk) override;
  void SetPenStyle(PenStyle style) override { drawing_.SetPenStyle(style); }
  void Line(int x1, int y1, int x2, int y2) override { drawing_.Line(x1, y1, x2, y2); }
  void Rectangle(int left, int top, int right, int bottom) override {
    drawing_.Rectangle(left, top, right, bottom);
  }

 private:
  void UseFont();  // the drawing font unhinted, the measuring font on the printer

  PainterCanvas drawing_;
  QPaintDevice& printer_;
  std::optional<QFontMetrics> metrics_;
};
