#pragma once
// The figures of a course's results as the analysis page and the batch tool
// give them: the sheet's own reading of the totals (a number counts with its
// score, 作弊 as 0, a grade level by its level, every other text not at all)
// and the sheet's bands, with the figures the sheet has no room for.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GradeBook;

// The figures of one group: a whole course, or one class of it as the sheet
// split by class has it. Decimal figures are texts with 2 decimals (an exact
// half away from zero), empty where they cannot be given (no score; sd
// without two).
struct AnalysisFigures {
  std::string CourseKey;  // GBK, 5 bytes
  std::string ClassCode;  // GBK, the record's 8 class bytes; empty for a whole course
  std::int64_t Students = 0;   // records of the group
  std::int64_t Scored = 0;     // N: numbers and 作弊
  std::int64_t Levels = 0;     // grade levels (优 良 中 及格 不及格 and the letters)
  std::int64_t Uncounted = 0;  // everything else: empty, 缺考, 缓考, 旷考, unrecognised
  std::string Mean, Median, Sd, PassRate, ExcellentRate;
  std::optional<std::int32_t> Max, Min;
  // 90-100, 80-89, 70-79, 60-69, everything else (below 60 and above 100).
  std::array<std::int64_t, 5> Bands{};
  // 优/A, 良/B, 中/C, 及格/合格/通过/D, 不及格/不合格/不通过/F.
  std::array<std::int64_t, 5> LevelCounts{};
};

// The finer histogram: 0-4, 5-9, ..., 90-94 and 95-100.
inline constexpr int kHistogramBins = 20;

struct CourseAnalysis {
  AnalysisFigures Whole;
  std::vector<AnalysisFigures> Classes;  // in the order of the sheet split by class
  // The course's heading, GBK, blanks trimmed: course name, teacher, classes, term.
  std::string Name, Teacher, ClassList, Term;
  std::string Share;  // coursework share as the weighting field shows it
  std::array<std::int64_t, kHistogramBins> Histogram{};
  std::int64_t OutsideHistogram = 0;  // scores above 100
  // Coursework and examination of the students with both grades numbers.
  std::vector<std::pair<std::int32_t, std::int32_t>> Pairs;
  std::string Correlation;  // Pearson r, 2 decimals; empty without two pairs or without spread
};

// Every course of the book once, in the order of the course list (a course
// whose header lines come in two runs is analysed once). One pass over the
// records serves all courses.
std::vector<CourseAnalysis> AnalyseCourses(const GradeBook& book);

// The groups of the sheet split by class, in its order (ClassGroups).
std::vector<AnalysisFigures> AnalyseClassGroups(const GradeBook& book);

// The figures of records `lineIndexes` of GradeLines as one group.
AnalysisFigures AnalyseGroup(const GradeBook& book, const std::vector<std::size_t>& lineIndexes);

// part / whole in percent with 2 decimals (exact half away from zero);
// empty when whole is 0.
std::string Percent(std::int64_t part, std::int64_t whole);
