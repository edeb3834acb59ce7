#include "printing/AnalysisInk.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "grading/Numbers.h"

namespace analysis {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kShadeStepMm = 0.6;

}  // namespace

PageInk::PageInk(Canvas& canvas, const AnalysisPaper& paper) : canvas_(canvas), paper_(paper) {
  canvas_.SetFontDpi(paper.Dpi);
}

double PageInk::Pixels(double mm) const { return mm * paper_.Dpi / kMmPerInch * paper_.Scale; }
int PageInk::X(double mm) const { return paper_.Left + Round(Pixels(mm)); }
int PageInk::Y(double mm) const { return paper_.Top + Round(Pixels(mm)); }

void PageInk::Font(double points, bool bold) {
  FontSpec font = paper_.Font;
  font.Style = bold ? fsBold : 0;
  canvas_.SetFont(font, std::max(1, Round(points * paper_.Scale)));
}

double PageInk::TextWidthMm(std::string_view gbk) {
  const double perMm = Pixels(1.0);
  return perMm > 0 ? canvas_.TextWidth(gbk) / perMm : 0.0;
}

void PageInk::Text(double x1, double x2, double y1, double y2, std::string_view gbk, Align align) {
  if (gbk.empty()) return;
  const int left = X(x1), right = X(x2);
  const int width = canvas_.TextWidth(gbk), height = canvas_.TextHeight(gbk);
  const int pad = Round(Pixels(1.0));
  int x = left + pad;
  if (align == Align::Centre) x = left + (right - left - width) / 2;
  else if (align == Align::Right) x = right - pad - width;
  canvas_.TextOut(x, Y(y1) + (Y(y2) - Y(y1) - height) / 2, gbk);
}

void PageInk::TextAt(double x, double y, std::string_view gbk, Align align) {
  if (gbk.empty()) return;
  int left = X(x);
  const int width = canvas_.TextWidth(gbk);
  if (align == Align::Centre) left -= width / 2;
  else if (align == Align::Right) left -= width;
  canvas_.TextOut(left, Y(y), gbk);
}

void PageInk::FittedText(double x, double y, double width, std::string_view gbk) {
  const int room = Round(Pixels(width));
  if (canvas_.TextWidth(gbk) <= room) {
    TextAt(x, y, gbk);
    return;
  }
  // The longest run of whole characters that fits with the dots, found by
  // halves: a long classes line costs a few measurements, not one a character.
  std::vector<std::size_t> ends;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    i += byte >= 0x81 && byte <= 0xFE && i + 1 < gbk.size() ? 2 : 1;
    ends.push_back(i);
  }
  const int dots = canvas_.TextWidth("...");
  std::size_t low = 0, high = ends.size();
  while (low < high) {
    const std::size_t mid = (low + high + 1) / 2;
    if (canvas_.TextWidth(gbk.substr(0, ends[mid - 1])) + dots <= room) low = mid;
    else high = mid - 1;
  }
  TextAt(x, y, std::string(gbk.substr(0, low > 0 ? ends[low - 1] : 0)) + "...");
}

void PageInk::Pen(PenStyle style) { canvas_.SetPenStyle(style); }

void PageInk::Line(double x1, double y1, double x2, double y2) { canvas_.Line(X(x1), Y(y1), X(x2), Y(y2)); }

void PageInk::Box(double x1, double y1, double x2, double y2) { canvas_.Rectangle(X(x1), Y(y1), X(x2), Y(y2)); }

void PageInk::ShadedBox(double x1, double y1, double x2, double y2) {
  Box(x1, y1, x2, y2);
  if (y2 - y1 < 0.3) return;
  for (double x = x1 + kShadeStepMm; x < x2 - kShadeStepMm / 2; x += kShadeStepMm) Line(x, y1, x, y2);
}

}  // namespace analysis
