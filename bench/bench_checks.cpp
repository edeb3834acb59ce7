// The check of a large grade book (100,000 records in 2,000 courses): a clean
// one, one where every fifth row is suspicious, one where every row is; the
// check of one course in it and of one edited row. The target is well under
// 100 ms for the whole book.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "gradefile/BookCheck.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace {

// 2,000 courses of 50 students at share 30. Every `oddEvery`-th row holds one
// of the suspicious rows in turn, and now and then a repeated student number
// (0: a clean book).
GradeBook MakeBook(int oddEvery) {
  const std::string name = Gbk("王小明"), klass = Gbk("计科2301");
  const std::string absent = Gbk("缺考"), excellent = Gbk("优");
  const std::string odd[][3] = {{"8O", "60", " 44"}, {"120", "60", " 78"}, {"80", "60", " 68"},
                                {"93", absent, " 28"}, {excellent, "90", " 63"}};
  GradeBook book;
  book.GradeLines.reserve(100'000);
  for (int c = 0; c < 2000; ++c) {
    char key[8];
    std::snprintf(key, sizeof key, "%05d", c);
    book.HeadLines.push_back(std::string(key) + "tk" + Gbk("高等数学"));
    book.HeadLines.push_back(std::string(key) + "t930");
    for (int s = 0; s < 50; ++s) {
      const int n = c * 50 + s;
      const bool isOdd = oddEvery != 0 && n % oddEvery == 0;
      const bool repeated = oddEvery != 0 && n % (oddEvery * 7) == 1;
      const std::string* grades = isOdd ? odd[(n / oddEvery) % 5] : nullptr;
      char record[80];
      std::snprintf(record, sizeof record, "%scj2023%06d%-8s%-8s%-6s%-6s%-6s      ", key, repeated ? n - 1 : n,
                    name.c_str(), klass.c_str(), grades ? grades[0].c_str() : "80",
                    grades ? grades[1].c_str() : "60", grades ? grades[2].c_str() : " 66");
      book.GradeLines.emplace_back(record);
    }
  }
  book.BuildCourseList();
  return book;
}

void BM_CheckBook(benchmark::State& state) {
  const GradeBook book = MakeBook(static_cast<int>(state.range(0)));
  std::size_t findings = 0;
  for (auto _ : state) {
    auto found = CheckBook(book);
    findings = found.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["records"] = static_cast<double>(book.GradeLines.size());
  state.counters["findings"] = static_cast<double>(findings);
}
// 0: clean; 5: every fifth row odd; 1: every row.
BENCHMARK(BM_CheckBook)->Arg(0)->Arg(5)->Arg(1)->Unit(benchmark::kMillisecond);

// Showing a course in the window checks it: one key out of the whole book.
void BM_CheckCourse(benchmark::State& state) {
  const GradeBook book = MakeBook(5);
  const std::string key = book.CourseKeys[1000];
  for (auto _ : state) benchmark::DoNotOptimize(CheckCourse(book, key));
}
BENCHMARK(BM_CheckCourse)->Unit(benchmark::kMillisecond);

// After each keystroke of an edit.
void BM_CheckRow(benchmark::State& state) {
  const std::string absent = Gbk("缺考");
  for (auto _ : state) benchmark::DoNotOptimize(CheckRow("30", "8O    ", absent + "  ", " 44   "));
}
BENCHMARK(BM_CheckRow);

}  // namespace

BENCHMARK_MAIN();
