// The course analysis of a 100,000-record book: every course's figures (with
// its classes, histogram and correlation), the groups of the sheet split by
// class, and one analysis page drawn on the recording canvas. The book comes
// in two shapes: 2,000 courses of 50 students, and 10 courses of 10,000 (where
// sorting for the median weighs most). The target is well under 100 ms for
// the whole book.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "gradefile/GradeBook.h"
#include "printing/AnalysisPage.h"
#include "printing/CourseAnalysis.h"
#include "printing/RecordingCanvas.h"
#include "text/Gbk.h"

namespace {

constexpr int kRecords = 100'000;

// `courses` courses sharing the records evenly, two classes each, interleaved;
// totals spread over 0..100 with now and then a level, 缺考 or 作弊.
GradeBook MakeBook(int courses) {
  const std::string name = Gbk("王小明"), classes[2] = {Gbk("计科2301"), Gbk("计科2302")};
  const std::string words[] = {Gbk("缺考"), Gbk("优"), Gbk("及格"), Gbk("作弊")};
  GradeBook book;
  book.GradeLines.reserve(kRecords);
  std::uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  const int perCourse = kRecords / courses;
  for (int c = 0; c < courses; ++c) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", c);
    book.HeadLines.push_back(std::string(key) + "tk" + Gbk("高等数学"));
    book.HeadLines.push_back(std::string(key) + "tj" + Gbk("陈建华"));
    book.HeadLines.push_back(std::string(key) + "t930");
    for (int s = 0; s < perCourse; ++s) {
      const int coursework = 40 + static_cast<int>(next() % 61), exam = static_cast<int>(next() % 101);
      const std::string total =
          s % 37 == 0 ? words[(s / 37) % 4] : std::to_string((coursework * 3 + exam * 7 + 5) / 10);
      char record[80];
      std::snprintf(record, sizeof record, "%scj2023%06d%-8s%-8s%-6d%-6d%-6s      ", key, c * perCourse + s,
                    name.c_str(), classes[s % 2].c_str(), coursework, exam, total.c_str());
      book.GradeLines.emplace_back(record);
    }
  }
  book.BuildCourseList();
  return book;
}

void BM_AnalyseCourses(benchmark::State& state) {
  const GradeBook book = MakeBook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto courses = AnalyseCourses(book);
    benchmark::DoNotOptimize(courses);
  }
  state.counters["records"] = static_cast<double>(book.GradeLines.size());
  state.counters["courses"] = static_cast<double>(book.CourseKeys.size());
}
BENCHMARK(BM_AnalyseCourses)->Arg(2000)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_AnalyseClassGroups(benchmark::State& state) {
  const GradeBook book = MakeBook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto groups = AnalyseClassGroups(book);
    benchmark::DoNotOptimize(groups);
  }
  state.counters["groups"] = static_cast<double>(book.ClassGroups.size());
}
BENCHMARK(BM_AnalyseClassGroups)->Arg(2000)->Arg(10)->Unit(benchmark::kMillisecond);

// One page of a course of 10,000 students: the scatter marks each distinct
// pair of grades once, so a large course draws no more than a small one.
void BM_DrawPage(benchmark::State& state) {
  const std::vector<CourseAnalysis> courses = AnalyseCourses(MakeBook(10));
  AnalysisPaper paper;
  paper.Font.Name = Gbk("宋体");
  std::size_t ops = 0;
  for (auto _ : state) {
    RecordingCanvas canvas(600);
    DrawAnalysisPage(canvas, courses.front(), paper);
    ops = canvas.Ops.size();
    benchmark::DoNotOptimize(canvas.Ops);
  }
  state.counters["ops"] = static_cast<double>(ops);
}
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
