#pragma once
// A canvas that keeps every call, for tests of what a page draws and where.
// Text is measured as a fixed-pitch font: each byte is half the font's pixel
// height wide (a Chinese character as wide as the font is high), and a text
// is the font's pixel height high.
#include <string>
#include <string_view>
#include <vector>

#include "printing/Canvas.h"

struct CanvasOp {
  enum Kind { SetFont, Text, Line, Rectangle, Pen } Op = Text;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  std::string Gbk;       // Text: the text drawn
  FontSpec Font;         // the font in place when the call was made
  int Points = 0;        // its size on the canvas
  PenStyle Style = PenStyle::Solid;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(int dpi = 96) : dpi_(dpi) {}

  void SetFontDpi(int dpi) override { dpi_ = dpi; }
  int FontDpi() const override { return dpi_; }
  void SetFont(const FontSpec& font, int points) override;
  int TextWidth(std::string_view gbk) override;
  int TextHeight(std::string_view gbk) override;
  void TextOut(int x, int y, std::string_view gbk) override;
  void SetPenStyle(PenStyle style) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int left, int top, int right, int bottom) override;

  // Pixel height of the current font: Round(points * dpi / 72).
  int FontPixels() const;

  std::vector<CanvasOp> Ops;

  // Every text drawn, in order; the first text op equal to `gbk` (or null).
  std::vector<const CanvasOp*> Texts() const;
  const CanvasOp* FindText(std::string_view gbk) const;
  std::vector<const CanvasOp*> Lines() const;

 private:
  void RecordShape(CanvasOp::Kind kind, int x1, int y1, int x2, int y2);
  int dpi_;
  FontSpec font_;
  int points_ = 0;
  PenStyle pen_ = PenStyle::Solid;
};
