#pragma once
// The books the growth benchmarks measure, and their sizes: 2,500 to 20,000
// courses of 40 students, and one course of 50,000 to 200,000 students. Each
// size is run three times and the fastest run kept ("_min" rows), so that a
// machine busy with something else bends the doubling factors less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "gradefile/GradeBook.h"

namespace growth {

// `courses` courses of `students` students each, with the header lines of
// a real course and one name for all courses (the worksheets' names).
inline GradeBook MakeBook(int courses, int students) {
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

inline GradeBook BookOf(const benchmark::State& state) {
  return state.range(1) == 0 ? MakeBook(static_cast<int>(state.range(0)), 40)
                             : MakeBook(1, static_cast<int>(state.range(0)));
}

inline void Families(benchmark::internal::Benchmark* b) {
  for (int courses : {2500, 5000, 10000, 20000}) b->Args({courses, 0});
  for (int students : {50000, 100000, 200000}) b->Args({students, 1});
  b->ArgNames({"n", "oneCourse"})->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
  b->ComputeStatistics("min", [](const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); });
  b->ReportAggregatesOnly(true);
}

}  // namespace growth
