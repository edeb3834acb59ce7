// MakePages over large books: one grouping pass, so linear in the grade
// lines and cheaper than a plain pass that copies every line.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gradefile/GradeBook.h"
#include "printing/RecordingCanvas.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/TextCanvas.h"

namespace {

// `lines` grade lines in courses of 50 students, three classes each, with
// a dozen header lines per course.
GradeBook MakeBook(int lines) {
  GradeBook book;
  const int courses = std::max(1, lines / 50);
  const char* tags[] = {"t0", "t1", "tk", "tl", "tx", "tz", "tj", "td", "tr", "tf", "ty", "tb", "t9"};
  for (int c = 0; c < courses; ++c) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", c % 100000);
    for (const char* tag : tags) book.HeadLines.push_back(std::string(key) + tag + "value of the tag");
    for (int i = 0; i < lines / courses; ++i) {
      char record[96];
      std::snprintf(record, sizeof record, "%scj%010d%-8s%-8s%-6s%-6s%-6s      ", key, i, "name",
                    i % 3 == 0 ? "classA" : i % 3 == 1 ? "classB" : "classC", "80", "90", " 87");
      book.GradeLines.push_back(record);
    }
  }
  book.BuildCourseList();
  return book;
}

void MakePages(benchmark::State& state, SheetKind kind) {
  const GradeBook book = MakeBook(static_cast<int>(state.range(0)));
  PrintSetup setup;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  for (auto _ : state) {
    printer.MakePages();
    benchmark::DoNotOptimize(pages.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
  state.counters["pages"] = static_cast<double>(pages.size());
}

void BM_MakePagesWhole(benchmark::State& state) { MakePages(state, SheetKind::WholeCourse); }
void BM_MakePagesSplit(benchmark::State& state) { MakePages(state, SheetKind::ByClass); }
BENCHMARK(BM_MakePagesWhole)->RangeMultiplier(4)->Range(6250, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakePagesSplit)->RangeMultiplier(4)->Range(6250, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// The yardstick: one pass that copies every grade line.
void BM_CopyEveryLine(benchmark::State& state) {
  const GradeBook book = MakeBook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Lines copy;
    copy.reserve(book.GradeLines.size());
    for (const std::string& line : book.GradeLines) copy.push_back(line);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyEveryLine)->Arg(100000)->Unit(benchmark::kMillisecond);

// One page of the 100,000-line book drawn on the core canvases: the share of
// DrawPage that is not painting (header scans, statistics of the group).
template <class CanvasType>
void DrawPageOn(benchmark::State& state) {
  const GradeBook book = MakeBook(100000);
  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  TextCanvas::UseGrid(setup);
  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  const auto last = static_cast<std::uint16_t>(pages.size() - 1);
  for (auto _ : state) {
    CanvasType canvas;
    printer.DrawPage(canvas, last, DevicePrinter, 1.0);
    benchmark::DoNotOptimize(&canvas);
  }
}
BENCHMARK(DrawPageOn<RecordingCanvas>)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawPageOn<TextCanvas>)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
