#pragma once
// A canvas on the sheet's own grid: one GBK byte per column, four grid rows
// per text line. Four rows keep apart what the page puts at a half line
// (table rules) and at 2 pixels below a line (underlines) from the text
// itself. Rules are drawn with '-' and '|', '+' where they cross; a rule
// never overwrites text, text overwrites rules.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "printing/Canvas.h"
#include "printing/PageMetrics.h"

struct PrintSetup;

class TextCanvas : public Canvas {
 public:
  static constexpr int kRowsPerLine = 4;

  // Page metrics that put the sheet on this grid at scale 1.0: no margins,
  // one column per character, kRowsPerLine rows per line.
  static TDeviceMetrics GridMetrics();
  // Puts GridMetrics into both device entries of `setup`.
  static void UseGrid(PrintSetup& setup);

  void SetFontDpi(int dpi) override { dpi_ = dpi; }
  int FontDpi() const override { return dpi_; }
  void SetFont(const FontSpec&, int) override {}
  int TextWidth(std::string_view gbk) override { return static_cast<int>(gbk.size()); }
  int TextHeight(std::string_view) override { return kRowsPerLine; }
  void TextOut(int x, int y, std::string_view gbk) override;
  void SetPenStyle(PenStyle style) override { pen_ = style; }
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int left, int top, int right, int bottom) override;

  void Clear();

  // The grid rows as GBK, trailing blanks removed.
  std::vector<std::string> Rows() const;
  // The character at column x of row y (blank outside what was drawn).
  char At(int x, int y) const;

  // The page as GBK text lines, each ended by '\n'; `compact` leaves out the
  // rows that hold neither text nor a horizontal rule.
  std::string Render(bool compact = true) const;

 private:
  // Text cells know which half of a double-byte character they hold, so
  // that text drawn over half of one blanks the other half.
  enum Cell : std::uint8_t { Empty, Rule, Text, TextLead, TextTrail };
  bool Reach(int x, int y);  // grows the grid to hold (x, y); false when off the grid
  void RuleCell(int x, int y, char c);
  void BlankCell(int x, int y);

  int dpi_ = 72;
  PenStyle pen_ = PenStyle::Solid;
  std::vector<std::string> chars_;
  std::vector<std::vector<Cell>> kinds_;
};
