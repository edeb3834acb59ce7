// The sheet printer over arbitrary grade books: both sheet modes, pages
// drawn on the text canvas and the recording canvas at odd metrics and
// scales. Never crashes; a page's rows stay within the row list; texts are
// cut to what the page can hold; the text grid holds no control bytes; the
// figures of every group agree with those of its first page.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gradefile/GradeBook.h"
#include "printing/PrintSettings.h"
#include "printing/RecordingCanvas.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/TextCanvas.h"

namespace {

// A failed check names its line, so a crash says which rule broke.
#define Check(ok) CheckAt(ok, __LINE__)
void CheckAt(bool ok, int line) {
  if (ok) return;
  std::fprintf(stderr, "check failed at fuzz_sheet.cpp:%d\n", line);
  std::abort();
}

// Every page of a sheet of up to this many pages is drawn on the recording
// canvas, and the last one on the text grid too (a slow canvas under the
// sanitizers); larger sheets only their first and last pages.
constexpr std::int32_t kPagesDrawn = 48;

// Printer and screen metrics from three bytes of the input: small, odd,
// sometimes zero, as a damaged set-up could leave them.
TDeviceMetrics MetricsFrom(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
  TDeviceMetrics m;
  m.Dpi = 600;
  m.CharWidth = a % 61;
  m.HalfChar = m.CharWidth / 2;
  m.LineHeight = b % 121;
  m.HalfLine = m.LineHeight / 2;
  m.MarginLeft = (c & 15) * 37;
  m.MarginTop = (c >> 4) * 53;
  m.PageWidth = (a ^ c) * 31;
  m.PageHeight = m.PageWidth * 3 / 2;
  return m;
}

std::int32_t FirstPageOfGroup(const TPageList& pages, std::size_t index) {
  while (index > 0 && pages[index - 1].GroupIndex == pages[index].GroupIndex) --index;
  return static_cast<std::int32_t>(index + 1);
}

void DrawAndCheck(GradeSheetPrinter& printer, const TPageList& pages, const TRowList& rows, PrintSetup& setup,
                  std::int32_t page, std::uint16_t device, double scale, bool onTheGrid) {
  RecordingCanvas recording(600);
  printer.DrawPage(recording, page, device, scale);
  Check(printer.FFirstRow >= 0 && printer.FFirstRow <= printer.FEndRow);
  Check(static_cast<std::size_t>(printer.FEndRow) <= rows.size());
  Check(printer.FFirstRow == pages[static_cast<std::size_t>(page) - 1].FirstRow);
  const double right = std::max(setup.Metrics[device].PageWidth * scale + 1,
                                printer.FLeft + 101.0 * printer.FCharWidth);
  for (const CanvasOp* op : recording.Texts())
    Check(op->Gbk.size() <= 1025 || static_cast<double>(op->Gbk.size()) <= 8 * right + 1);

  if (!onTheGrid) return;
  const PageMetrics metrics = setup.Metrics;
  TextCanvas::UseGrid(setup);
  TextCanvas text;
  printer.DrawPage(text, page, DevicePrinter, 1.0);
  setup.Metrics = metrics;
  for (char c : text.Render()) {
    const auto byte = static_cast<unsigned char>(c);
    Check(c == '\n' || (byte >= 0x20 && byte != 0x7F));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || size > 16384) return 0;
  const std::uint8_t flags = data[0];
  std::string input = GradeTexts::MagicLine() + "\r\n";
  input.append(reinterpret_cast<const char*>(data) + 4, size - 4);

  GradeBook book;
  Check(book.ReadBytes(input));
  book.BuildCourseList();

  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = 600;
  ApplyDefaultPrintSettings(setup);
  setup.Metrics[DevicePrinter] = MetricsFrom(data[1], data[2], data[3]);
  setup.Metrics[DeviceScreen] = MetricsFrom(data[3], data[1], data[2]);
  static constexpr double kScales[] = {1.0, 0.5, 1.25, 2.0, 3.7, 0.1, 8.0, 0.013};
  const double scale = kScales[flags & 7];
  const std::uint16_t device = (flags & 8) ? DeviceScreen : DevicePrinter;

  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  for (SheetKind each : {SheetKind::WholeCourse, SheetKind::ByClass}) {
    kind = each;
    printer.MakePages();
    const Lines& groups = kind == SheetKind::ByClass ? book.ClassGroups : book.CourseKeys;
    Check(printer.FPageCount == static_cast<std::int32_t>(pages.size()));
    Check(pages.size() >= groups.size());
    for (const TPageEntry& p : pages) Check(p.FirstRow >= 0 && static_cast<std::size_t>(p.FirstRow) <= rows.size());

    const std::int32_t count = printer.FPageCount;
    for (std::int32_t page = 1; page <= count; ++page) {
      if (count > kPagesDrawn && page > 1) page = count;
      DrawAndCheck(printer, pages, rows, setup, page, device, scale, page == count);
    }
    RecordingCanvas outside;
    printer.DrawPage(outside, 0, device, scale);
    printer.DrawPage(outside, printer.FPageCount + 1, device, scale);
    Check(outside.Ops.empty());

    std::int32_t groupsSeen = 0;
    printer.EveryGroupFigures([&](std::int32_t firstPage, const TGroupFigures& f) {
      ++groupsSeen;
      Check(firstPage == FirstPageOfGroup(pages, static_cast<std::size_t>(firstPage) - 1));
      TGroupFigures one;
      Check(printer.PageFigures(firstPage, one));
      Check(one.CourseKey == f.CourseKey && one.ClassCode == f.ClassCode && one.Due == f.Due &&
            one.Coursework == f.Coursework && one.Examination == f.Examination && one.Bands == f.Bands &&
            one.Average == f.Average && one.FailureRate == f.FailureRate && one.GroupPages == f.GroupPages);
      return groupsSeen < 4096;
    });
    Check(groupsSeen == std::min<std::int32_t>(4096, static_cast<std::int32_t>(groups.size())));
  }
  return 0;
}
