#pragma once
// The rules of the preview that need no widget: zoom limits and steps, the
// status texts and which commands are enabled, the pages a print choice
// means, and the millimetre reading of the margin dialog. The main window
// and the dialogs only apply them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// What the print dialog returns: the range the user chose.
struct PrintChoice {
  enum Range { AllPages, Selection, PageRange } Kind = AllPages;
  int FromPage = 1;
  int ToPage = 1;
};

namespace preview {

// The two zoom factors; zooming is repeated multiplication by exactly these
// doubles, so stepping out from 1.0 lands exactly on the limits below.
inline constexpr double ZoomOutFactor = 0.8;
inline constexpr double ZoomInFactor = 1.25;

struct ZoomLimits {
  double Min = 1.0;
  double Max = 1.0;
};

// The smallest zoom shows the body font at no more than 3 points, the largest
// at no less than 24. A size of 0 (only a damaged settings file holds one)
// would never reach 24 points; it gets the limits of the default 10 points.
ZoomLimits ComputeZoomLimits(std::int32_t bodyFontPoints);

// One zoom step, or the same zoom when the limit is reached.
double ZoomedIn(double zoom, double zoomMax);
double ZoomedOut(double zoom, double zoomMin);

// What the status bar and the preview commands depend on.
struct PreviewState {
  std::int32_t SheetIndex = 0;
  std::int32_t PageCount = 0;  // the sheet printer's FPageCount
  std::int32_t CurPage = 0;
  double Zoom = 1.0;
  double ZoomMin = 1.0;
  double ZoomMax = 1.0;
};

struct CommandStates {
  bool PreviousPage = false;
  bool NextPage = false;
  bool ChoosePage = false;
  bool ZoomIn = false;
  bool ZoomOut = false;
  bool FirstLast = false;     // first page, last page
  bool Scroll = false;        // the six scroll commands
  bool Print = false;         // print, menu and button
  bool operator==(const CommandStates&) const = default;
};

CommandStates PreviewCommands(const PreviewState& state);

// The three status panels as GBK: sheet name, page total, current page;
// all empty when there is no sheet printer.
std::array<std::string, 3> PreviewStatusTexts(const PreviewState& state);

// The sheet name of SheetIndex ("学生成绩单" for 1), GBK; empty otherwise.
const std::string& SheetName(std::int32_t sheetIndex);

// ---- printing -----------------------------------------------------------------

struct PageSpan {
  std::int32_t First = 1;
  std::int32_t Last = 0;  // First > Last: nothing to print
};

// What the print dialog's range means for a sheet of `pageCount` pages: all
// pages, the page shown (`curPage`), or from..to kept within 1..pageCount so
// that no blank sheet of paper comes out for a page the sheet does not have.
PageSpan PagesToPrint(const PrintChoice& choice, std::int32_t pageCount,
                      std::int32_t curPage);

// ---- the margin dialog ------------------------------------------------------

// Printer pixels shown as whole millimetres: Round(pixels * 25.4 / dpi).
std::int32_t MarginPixelsToMm(std::int32_t pixels, std::int32_t dpi);

// Whole millimetres to printer pixels: Round(mm * dpi / 25.4).
std::int32_t MarginMmToPixels(std::int32_t mm, std::int32_t dpi);

// How a margin box's text is read: blanks trimmed at both ends, then an
// optional sign and decimal digits. When the whole text is that number it is
// the value; when something else follows, the value is the digits read so far
// without their sign ("-5mm" gives 5, "12.5" gives 12); no digit gives 0.
// Values beyond what a margin can hold saturate instead of wrapping.
std::int32_t ReadMarginText(std::string_view text);

// The margin a box's text stores, in printer pixels.
std::int32_t MarginTextToPixels(std::string_view text, std::int32_t dpi);

}  // namespace preview
