#include "printing/PreviewRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "grading/Numbers.h"
#include "printing/PageMetrics.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

namespace preview {

namespace {

constexpr double kSmallestPoints = 3.0;
constexpr double kLargestPoints = 24.0;
constexpr std::int32_t kFallbackPoints = 10;

}  // namespace

ZoomLimits ComputeZoomLimits(std::int32_t bodyFontPoints) {
  double s = std::fabs(static_cast<double>(bodyFontPoints));
  if (s == 0.0) s = kFallbackPoints;
  ZoomLimits limits;
  // Both loops run at least once from one step beyond 1.0, so the first pass
  // tests the font at zoom 1.0 itself.
  limits.Min = ZoomInFactor;
  double t = s * ZoomInFactor;
  do {
    limits.Min = limits.Min * ZoomOutFactor;
    t = t * ZoomOutFactor;
  } while (!(t <= kSmallestPoints));
  limits.Max = ZoomOutFactor;
  t = s * ZoomOutFactor;
  do {
    limits.Max = limits.Max * ZoomInFactor;
    t = t * ZoomInFactor;
  } while (!(t >= kLargestPoints));
  return limits;
}

double ZoomedIn(double zoom, double zoomMax) {
  return zoom < zoomMax ? zoom * ZoomInFactor : zoom;
}

double ZoomedOut(double zoom, double zoomMin) {
  return zoom > zoomMin ? zoom * ZoomOutFactor : zoom;
}

CommandStates PreviewCommands(const PreviewState& s) {
  CommandStates c;
  if (s.SheetIndex <= 0) return c;  // everything disabled
  c.PreviousPage = s.CurPage > 1;
  c.NextPage = s.PageCount > s.CurPage;
  c.ChoosePage = s.PageCount > 1;
  c.ZoomIn = s.Zoom < s.ZoomMax;
  c.ZoomOut = s.Zoom > s.ZoomMin;
  c.FirstLast = true;
  c.Scroll = true;
  c.Print = true;
  return c;
}

const std::string& SheetName(std::int32_t sheetIndex) {
  static const std::string none;
  static const std::string gradeSheet = Gbk("学生成绩单");
  return sheetIndex == 1 ? gradeSheet : none;
}

std::array<std::string, 3> PreviewStatusTexts(const PreviewState& s) {
  if (s.SheetIndex <= 0) return {};
  static const std::string total = Gbk(" 共 ");
  static const std::string page = Gbk(" 第 ");
  static const std::string pages = Gbk(" 页");
  return {" " + SheetName(s.SheetIndex), total + std::to_string(s.PageCount) + pages,
          page + std::to_string(s.CurPage) + pages};
}

PageSpan PagesToPrint(const PrintChoice& choice, std::int32_t pageCount,
                      std::int32_t curPage) {
  PageSpan span;
  switch (choice.Kind) {
    case PrintChoice::AllPages:
      span = {1, pageCount};
      break;
    case PrintChoice::Selection:
      span = {curPage, curPage};
      break;
    case PrintChoice::PageRange:
      span = {std::max<std::int32_t>(choice.FromPage, 1),
              std::min<std::int32_t>(choice.ToPage, pageCount)};
      break;
  }
  if (span.First < 1 || span.Last > pageCount) span = {1, 0};
  return span;
}

std::int32_t MarginPixelsToMm(std::int32_t pixels, std::int32_t dpi) {
  return PixelsToMillimetres(pixels, dpi);
}

std::int32_t MarginMmToPixels(std::int32_t mm, std::int32_t dpi) {
  return MillimetresToPixels(mm, dpi);
}

std::int32_t ReadMarginText(std::string_view text) {
  text = TrimmedBlanks(text);

  const SignedDigits number = ScanSignedDigits(text);
  constexpr std::int64_t cap = std::numeric_limits<std::int32_t>::max();
  std::int64_t digits = 0;
  for (std::size_t i = number.Begin; i < number.End; ++i) {
    digits = digits * 10 + (text[i] - '0');
    if (digits > cap) digits = cap;
  }
  const bool whole = number.End == text.size();
  const std::int64_t value = whole && number.Negative ? -digits : digits;
  return static_cast<std::int32_t>(value);
}

std::int32_t MarginTextToPixels(std::string_view text, std::int32_t dpi) {
  return MarginMmToPixels(ReadMarginText(text), dpi);
}

}  // namespace preview
