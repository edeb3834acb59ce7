// The sheet at its limits: the figures of every group of a book of tens of
// thousands of courses (linear, one scan of the header lines), and a page
// whose title line is megabytes long (as fast as a page with a short one:
// the title is cut to what the page shows before it is measured).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "gradefile/GradeBook.h"
#include "printing/PrintSettings.h"
#include "printing/RecordingCanvas.h"
#include "printing/GradeSheetPrinter.h"

namespace {

// `courses` courses of three header lines and two students each.
GradeBook ManyCourses(int courses) {
  GradeBook book;
  for (int c = 0; c < courses; ++c) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", c % 100000);
    for (const char* tag : {"tk", "tj", "t9"}) book.HeadLines.push_back(std::string(key) + tag + "30");
    for (int i = 0; i < 2; ++i) {
      char record[96];
      std::snprintf(record, sizeof record, "%scj%010d%-8s%-8s%-6s%-6s%-6s      ", key, i, "name", "classA",
                    "80", "90", " 87");
      book.GradeLines.push_back(record);
    }
  }
  book.BuildCourseList();
  return book;
}

void BM_EveryGroupFigures(benchmark::State& state) {
  const GradeBook book = ManyCourses(static_cast<int>(state.range(0)));
  PrintSetup setup;
  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  for (auto _ : state) {
    std::int64_t groups = 0;
    printer.EveryGroupFigures([&](std::int32_t, const TGroupFigures& f) {
      benchmark::DoNotOptimize(f.Average.data());
      return ++groups > 0;
    });
    benchmark::DoNotOptimize(groups);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EveryGroupFigures)->RangeMultiplier(4)->Range(4096, 65536)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_DrawPageWithAHugeTitle(benchmark::State& state) {
  GradeBook book = ManyCourses(1);
  book.HeadLines.push_back("00000t0" + std::string(static_cast<std::size_t>(state.range(0)), 'x'));
  book.BuildCourseList();
  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = 600;
  ApplyDefaultPrintSettings(setup);
  TDeviceMetrics& m = setup.Metrics[DevicePrinter];
  m.PageWidth = 4960;
  m.CharWidth = 42;
  m.LineHeight = 83;
  m.HalfLine = 41;
  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  for (auto _ : state) {
    RecordingCanvas canvas(600);
    printer.DrawPage(canvas, 1, DevicePrinter, 1.0);
    benchmark::DoNotOptimize(canvas.Ops.data());
  }
}
BENCHMARK(BM_DrawPageWithAHugeTitle)->Arg(20)->Arg(1 << 20)->Arg(50 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
