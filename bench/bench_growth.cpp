// What grows with the book: every course's sheet drawn as text (the batch
// tool's `text`), the sheet's figures (`stats`), the check, the CSV and the
// workbook's layout, and the window's course list, over 2,500 to 20,000
// courses and over one course of 50,000 to 200,000 students. Each doubling
// should cost about twice the time: the "BigO" line of each family says
// how close it comes, and scripts compare the rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "exchange/Export.h"
#include "gradefile/BookCheck.h"
#include "gradefile/GradeBook.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/TextCanvas.h"

namespace {

// `courses` courses of `students` students each, with the header lines of
// a real course and one name for all courses (the worksheets' names).
GradeBook MakeBook(int courses, int students) {
  GradeBook book;
  const char* tags[] = {"t0", "t1", "tk", "tj", "td", "tb", "t9"};
  for (int c = 0; c < courses; ++c) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", c % 100000);
    for (const char* tag : tags) book.HeadLines.push_back(std::string(key) + tag + (tag[1] == '9' ? "30" : "Course"));
    for (int i = 0; i < students; ++i) {
      char record[96];
      std::snprintf(record, sizeof record, "%scj%010d%-8s%-8s%-6d%-6d%-6d      ", key, c * students + i, "name",
                    i % 2 == 0 ? "classA" : "classB", 60 + i % 40, 50 + i % 50, 55 + i % 45);
      book.GradeLines.push_back(record);
    }
  }
  book.BuildCourseList();
  return book;
}

GradeBook BookOf(const benchmark::State& state) {
  return state.range(1) == 0 ? MakeBook(static_cast<int>(state.range(0)), 40)
                             : MakeBook(1, static_cast<int>(state.range(0)));
}

void Families(benchmark::internal::Benchmark* b) {
  for (int courses : {2500, 5000, 10000, 20000}) b->Args({courses, 0});
  for (int students : {50000, 100000, 200000}) b->Args({students, 1});
  b->ArgNames({"n", "oneCourse"})->Unit(benchmark::kMillisecond)->Iterations(1);
}

void BM_Text(benchmark::State& state) {
  const GradeBook book = BookOf(state);
  for (auto _ : state) {
    PrintSetup setup;
    ApplyDefaultPrintSettings(setup);
    TextCanvas::UseGrid(setup);
    SheetKind kind = SheetKind::WholeCourse;
    TPageList pages;
    TRowList rows;
    GradeSheetPrinter printer(book, setup, kind, pages, rows);
    printer.MakePages();
    printer.IndexHeads();
    std::size_t bytes = 0;
    for (std::int32_t page = 1; page <= printer.FPageCount; ++page) {
      TextCanvas canvas;
      printer.DrawPage(canvas, page, DevicePrinter, 1.0);
      bytes += canvas.Render().size();
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["pages"] = printer.FPageCount;
  }
}
BENCHMARK(BM_Text)->Apply(Families);

void BM_Stats(benchmark::State& state) {
  const GradeBook book = BookOf(state);
  for (auto _ : state) {
    PrintSetup setup;
    SheetKind kind = SheetKind::WholeCourse;
    TPageList pages;
    TRowList rows;
    GradeSheetPrinter printer(book, setup, kind, pages, rows);
    printer.MakePages();
    std::size_t groups = 0;
    printer.EveryGroupFigures([&](std::int32_t, const TGroupFigures&) { return ++groups > 0; });
    benchmark::DoNotOptimize(groups);
  }
}
BENCHMARK(BM_Stats)->Apply(Families);

void BM_Check(benchmark::State& state) {
  const GradeBook book = BookOf(state);
  for (auto _ : state) benchmark::DoNotOptimize(CheckBook(book).size());
}
BENCHMARK(BM_Check)->Apply(Families);

void BM_ExportCsv(benchmark::State& state) {
  const GradeBook book = BookOf(state);
  for (auto _ : state)
    benchmark::DoNotOptimize(exchange::CsvExportBytes(exchange::CoursesForExport(book), true).size());
}
BENCHMARK(BM_ExportCsv)->Apply(Families);

void BM_WorkbookSheetNames(benchmark::State& state) {
  const GradeBook book = BookOf(state);
  const std::vector<exchange::ExportCourse> courses = exchange::CoursesForExport(book);
  for (auto _ : state) benchmark::DoNotOptimize(exchange::XlsxSheetNames(courses).size());
}
BENCHMARK(BM_WorkbookSheetNames)->Apply(Families);

// What the window does on opening: the course list and the first course's rows.
void BM_WindowOpen(benchmark::State& state) {
  GradeBook book = BookOf(state);
  for (auto _ : state) {
    book.BuildCourseList();
    benchmark::DoNotOptimize(book.ShowCourse(book.CourseKeys.front()).Rows.size());
  }
}
BENCHMARK(BM_WindowOpen)->Apply(Families);

}  // namespace

BENCHMARK_MAIN();
