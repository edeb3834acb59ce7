#pragma once
// Drawing on a Canvas in millimetres of a page: the analysis page is laid
// out in millimetres of A4 and drawn at any resolution and zoom.
#include <string_view>

#include "printing/AnalysisPage.h"
#include "printing/Canvas.h"

namespace analysis {

enum class Align { Left, Centre, Right };

class PageInk {
 public:
  PageInk(Canvas& canvas, const AnalysisPaper& paper);

  int X(double mm) const;
  int Y(double mm) const;
  double Pixels(double mm) const;

  void Font(double points, bool bold = false);
  // Text in the box x1..x2, y1..y2 (mm), aligned across and centred up and down.
  void Text(double x1, double x2, double y1, double y2, std::string_view gbk, Align align);
  // Text with its top at y.
  void TextAt(double x, double y, std::string_view gbk, Align align = Align::Left);
  // Text cut (between characters) to fit `width` mm.
  void FittedText(double x, double y, double width, std::string_view gbk);
  double TextWidthMm(std::string_view gbk);

  void Pen(PenStyle style);
  void Line(double x1, double y1, double x2, double y2);
  void Box(double x1, double y1, double x2, double y2);
  // A box shaded by close upright lines: grey on a black-and-white printer.
  void ShadedBox(double x1, double y1, double x2, double y2);

 private:
  Canvas& canvas_;
  const AnalysisPaper& paper_;
};

}  // namespace analysis
