// What grows with the book: every course's sheet drawn as text (the batch
// tool's `text`), the sheet's figures (`stats`), the check, the CSV and the
// workbook's layout, and the window's course list, over 2,500 to 20,000
// courses and over one course of 50,000 to 200,000 students. Each doubling
// should cost about twice the time: bench/growth.sh prints the factors.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/GrowthBooks.h"
#include "exchange/Export.h"
#include "gradefile/BookCheck.h"
#include "gradefile/GradeBook.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/TextCanvas.h"

namespace {

using growth::BookOf;
using growth::Families;

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
