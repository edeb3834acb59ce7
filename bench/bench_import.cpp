// Import of a marking system's CSV: 10,000 rows into one course of a
// 100,000-record book (target: preview and apply under 50 ms), and the
// preview of a 1,000,000-row file, the size the import still takes whole.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "exchange/Export.h"
#include "exchange/Import.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace {

constexpr int kBigCourse = 10000;  // students of the course imported into
constexpr int kOtherCourses = 90;
constexpr int kPerOtherCourse = 1000;

std::string Pad(std::string s, std::size_t width) {
  s.resize(width, ' ');
  return s;
}

std::string Number(int i) {
  char number[16];
  std::snprintf(number, sizeof number, "2023%06d", i);
  return number;
}

// 100,000 records: the big course "00000" and 90 others, each with a share.
GradeBook MakeBook() {
  GradeBook book;
  const std::string name = Gbk("王小明"), klass = Gbk("计科2301");
  char key[8];
  int student = 0;
  for (int c = 0; c <= kOtherCourses; ++c) {
    std::snprintf(key, sizeof key, "%05d", c);
    book.HeadLines.push_back(std::string(key) + "tk" + Gbk("高等数学"));
    book.HeadLines.push_back(std::string(key) + "t930");
    const int students = c == 0 ? kBigCourse : kPerOtherCourse;
    for (int s = 0; s < students; ++s) {
      book.GradeLines.push_back(std::string(key) + "cj" + Pad(Number(student++), 10) + Pad(name, 8) +
                                Pad(klass, 8) + Pad("85", 6) + Pad("", 6) + Pad("", 6) + Pad("", 6));
    }
  }
  book.BuildCourseList();
  return book;
}

GradeBook& TheBook() {
  static GradeBook book = MakeBook();
  return book;
}

// What a marking system hands over: number, name, coursework, examination.
std::string MakeCsv(int rows) {
  std::string csv = "学号,姓名,平时成绩,考试成绩\r\n";
  csv.reserve(static_cast<std::size_t>(rows) * 40);
  for (int i = 0; i < rows; ++i) {
    csv += Number(i) + ",王小明," + std::to_string(60 + i % 40) + "," + std::to_string(50 + i % 50) + "\r\n";
  }
  return csv;
}

void BM_ImportTenThousandRows(benchmark::State& state) {
  GradeBook& book = TheBook();
  const std::string csv = MakeCsv(kBigCourse);
  for (auto _ : state) {
    const exchange::ImportPreview preview = exchange::PreviewImportBytes(book, "00000", csv, {});
    const exchange::ApplyResult applied = exchange::ApplyImport(book, preview);
    if (!applied.Ok || applied.Changes.size() != static_cast<std::size_t>(kBigCourse))
      state.SkipWithError("the import did not change every row");
    state.PauseTiming();
    exchange::UndoImport(book, applied.Changes);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kBigCourse);
}
BENCHMARK(BM_ImportTenThousandRows)->Unit(benchmark::kMillisecond);

void BM_PreviewMillionRows(benchmark::State& state) {
  GradeBook& book = TheBook();
  const std::string csv = MakeCsv(1000000);
  for (auto _ : state) {
    const exchange::ImportPreview preview = exchange::PreviewImportBytes(book, "00000", csv, {});
    benchmark::DoNotOptimize(preview.Rows);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(csv.size()));
}
BENCHMARK(BM_PreviewMillionRows)->Unit(benchmark::kMillisecond);

void BM_ExportCsvAllCourses(benchmark::State& state) {
  const GradeBook& book = TheBook();
  for (auto _ : state) {
    const std::string csv = exchange::CsvExportBytes(exchange::CoursesForExport(book), true);
    benchmark::DoNotOptimize(csv.size());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(book.GradeLines.size()));
}
BENCHMARK(BM_ExportCsvAllCourses)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
