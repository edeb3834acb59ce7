#include "printing/CourseAnalysis.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "grading/GradeParser.h"
#include "grading/Numbers.h"
#include "text/Blanks.h"

namespace {

using u128 = unsigned __int128;
using i128 = __int128;

std::string TwoDecimals(std::int64_t num, std::int64_t den) { return FormatQuotient(num, den, 2, 0); }

// The sample standard deviation of scores with sum s and sum of squares q
// over n (n >= 2), with 2 decimals: the variance is p / d with
// p = n*q - s*s and d = n*(n-1), so 100*sd rounded half away from zero is the
// largest r with (2r-1)^2 * d <= 40000 * p, found exactly in integers (a
// root computed in floating point could fall on the wrong side of a half).
std::string SampleDeviation(std::int64_t n, u128 s, u128 q) {
  const u128 p = static_cast<u128>(n) * q - s * s;
  const u128 d = static_cast<u128>(n) * static_cast<u128>(n - 1);
  const u128 target = p * 40000;
  std::int64_t low = 0, high = std::int64_t{1} << 42;  // scores are below 2^31
  while (low < high) {
    const std::int64_t mid = low + (high - low + 1) / 2;
    const u128 odd = static_cast<u128>(2 * mid - 1);
    if (odd * odd * d <= target) low = mid;
    else high = mid - 1;
  }
  return TwoDecimals(low, 100);
}

// Pearson's r of the pairs, 2 decimals; empty without two pairs or when
// either side does not vary.
std::string PearsonR(const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
  const auto n = static_cast<i128>(pairs.size());
  if (n < 2) return {};
  i128 sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (const auto& [x, y] : pairs) {
    sx += x;
    sy += y;
    sxx += static_cast<i128>(x) * x;
    syy += static_cast<i128>(y) * y;
    sxy += static_cast<i128>(x) * y;
  }
  const i128 covariance = n * sxy - sx * sy;
  const i128 vx = n * sxx - sx * sx;
  const i128 vy = n * syy - sy * sy;
  if (vx <= 0 || vy <= 0) return {};
  const long double r = static_cast<long double>(covariance) /
                        std::sqrt(static_cast<long double>(vx) * static_cast<long double>(vy));
  return FormatFixed(std::clamp(r, -1.0L, 1.0L), 2, 0);
}

// The five heading values of every course in one scan of the header lines;
// a later line of a tag stands over an earlier one.
struct Heading {
  std::string_view Name, Teacher, Classes, Term, Share;
};

std::vector<std::string> DistinctCourseKeys(const GradeBook& book,
                                            std::unordered_map<std::string_view, std::size_t>& indexOf) {
  std::vector<std::string> keys;
  for (const std::string& key : book.CourseKeys)
    if (indexOf.try_emplace(key, keys.size()).second) keys.push_back(key);
  return keys;
}

}  // namespace

std::string Percent(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? TwoDecimals(part * 100, whole) : std::string();
}

namespace {

// A total as the grade parser reads it.
struct Reading {
  GradeCode Code = GradeCode::NotRecognised;
  std::int32_t Score = 0;
};

Reading ReadTotal(std::string_view line) {
  Reading r;
  r.Code = ParseGrade(Field(line, record::Total), r.Score);
  if (r.Code == GradeCode::Cheating) r.Score = 0;
  return r;
}

AnalysisFigures FiguresOf(const std::vector<Reading>& readings) {
  AnalysisFigures f;
  std::vector<std::int32_t> scores;
  scores.reserve(readings.size());
  std::int64_t sum = 0;
  u128 squares = 0;
  for (const Reading& r : readings) {
    ++f.Students;
    if (IsLevel(r.Code)) {
      ++f.Levels;
      ++f.LevelCounts[static_cast<std::size_t>(r.Code == GradeCode::LevelF ? 4 : static_cast<int>(r.Code) - 1)];
      continue;
    }
    if (r.Code != GradeCode::Number && r.Code != GradeCode::Cheating) {
      ++f.Uncounted;
      continue;
    }
    scores.push_back(r.Score);
    ++f.Bands[static_cast<std::size_t>(ScoreBand(r.Score))];
    sum += r.Score;
    squares += static_cast<u128>(static_cast<std::int64_t>(r.Score) * r.Score);
  }
  f.Scored = static_cast<std::int64_t>(scores.size());
  if (f.Scored == 0) return f;
  // The median needs the middle one or two scores only.
  const std::size_t mid = scores.size() / 2;
  std::nth_element(scores.begin(), scores.begin() + static_cast<std::ptrdiff_t>(mid), scores.end());
  const std::int32_t upper = scores[mid];
  if (scores.size() % 2 != 0) {
    f.Median = TwoDecimals(upper, 1);
  } else {
    const std::int32_t lower = *std::max_element(scores.begin(), scores.begin() + static_cast<std::ptrdiff_t>(mid));
    f.Median = TwoDecimals(std::int64_t{lower} + upper, 2);
  }
  f.Mean = TwoDecimals(sum, f.Scored);
  if (f.Scored >= 2) f.Sd = SampleDeviation(f.Scored, static_cast<u128>(sum), squares);
  const auto [low, high] = std::minmax_element(scores.begin(), scores.end());
  f.Max = *high;
  f.Min = *low;
  f.PassRate = Percent(f.Scored - f.Bands[4], f.Scored);
  f.ExcellentRate = Percent(f.Bands[0], f.Scored);
  return f;
}

}  // namespace

AnalysisFigures AnalyseGroup(const GradeBook& book, const std::vector<std::size_t>& lineIndexes) {
  std::vector<Reading> readings;
  readings.reserve(lineIndexes.size());
  for (std::size_t index : lineIndexes)
    if (index < book.GradeLines.size()) readings.push_back(ReadTotal(book.GradeLines[index]));
  return FiguresOf(readings);
}

std::vector<CourseAnalysis> AnalyseCourses(const GradeBook& book) {
  std::unordered_map<std::string_view, std::size_t> indexOf;
  const std::vector<std::string> keys = DistinctCourseKeys(book, indexOf);

  std::vector<Heading> headings(keys.size());
  for (std::string_view line : book.HeadLines) {
    const auto it = indexOf.find(KeyOf(line));
    if (it == indexOf.end()) continue;
    Heading& h = headings[it->second];
    const std::string_view tag = TagOf(line), value = FieldFrom(line, kHeadValuePos);
    if (tag == "tk") h.Name = value;
    else if (tag == "tj") h.Teacher = value;
    else if (tag == "tb") h.Classes = value;
    else if (tag == "t1") h.Term = value;
    else if (tag == "t9") h.Share = Field(line, kShareField);
  }

  std::vector<std::vector<std::size_t>> linesOf(keys.size());
  for (std::size_t i = 0; i < book.GradeLines.size(); ++i) {
    const auto it = indexOf.find(KeyOf(book.GradeLines[i]));
    if (it != indexOf.end()) linesOf[it->second].push_back(i);
  }

  std::vector<CourseAnalysis> courses(keys.size());
  for (std::size_t c = 0; c < keys.size(); ++c) {
    CourseAnalysis& course = courses[c];
    const std::vector<std::size_t>& lines = linesOf[c];
    const Heading& h = headings[c];
    course.Name = TrimmedBlanks(h.Name);
    course.Teacher = TrimmedBlanks(h.Teacher);
    course.ClassList = TrimmedBlanks(h.Classes);
    course.Term = TrimmedBlanks(h.Term);
    course.Share = TrimmedBlanks(h.Share);

    // The classes in order of first appearance among the course's records,
    // which is the order the sheet split by class gives them. Each total is
    // read once for the course, its class and the histogram.
    std::vector<std::string_view> classes;
    std::vector<std::vector<Reading>> classReadings;
    std::unordered_map<std::string_view, std::size_t> classIndex;
    std::vector<Reading> readings;
    readings.reserve(lines.size());
    for (std::size_t i : lines) {
      const std::string_view line = book.GradeLines[i];
      const Reading total = ReadTotal(line);
      readings.push_back(total);
      const auto [it, added] = classIndex.try_emplace(Field(line, record::Class), classes.size());
      if (added) {
        classes.push_back(it->first);
        classReadings.emplace_back();
      }
      classReadings[it->second].push_back(total);

      if (total.Code == GradeCode::Number || total.Code == GradeCode::Cheating) {
        if (total.Score > 100) ++course.OutsideHistogram;
        else ++course.Histogram[static_cast<std::size_t>(std::min(total.Score / 5, kHistogramBins - 1))];
      }
      std::int32_t coursework = 0, examination = 0;
      if (ParseGrade(Field(line, record::Coursework), coursework) == GradeCode::Number &&
          ParseGrade(Field(line, record::Examination), examination) == GradeCode::Number)
        course.Pairs.emplace_back(coursework, examination);
    }
    course.Whole = FiguresOf(readings);
    course.Whole.CourseKey = keys[c];
    for (std::size_t k = 0; k < classes.size(); ++k) {
      AnalysisFigures figures = FiguresOf(classReadings[k]);
      figures.CourseKey = keys[c];
      figures.ClassCode = classes[k];
      course.Classes.push_back(std::move(figures));
    }
    course.Correlation = PearsonR(course.Pairs);
  }
  return courses;
}

std::vector<AnalysisFigures> AnalyseClassGroups(const GradeBook& book) {
  std::unordered_map<std::string, std::size_t> indexOf;
  for (std::size_t g = 0; g < book.ClassGroups.size(); ++g) indexOf.try_emplace(book.ClassGroups[g], g);
  std::vector<std::vector<std::size_t>> linesOf(book.ClassGroups.size());
  std::string group;
  for (std::size_t i = 0; i < book.GradeLines.size(); ++i) {
    const std::string_view line = book.GradeLines[i];
    group.assign(KeyOf(line)).append(Field(line, record::Class));
    const auto it = indexOf.find(group);
    if (it != indexOf.end()) linesOf[it->second].push_back(i);
  }
  std::vector<AnalysisFigures> groups;
  groups.reserve(book.ClassGroups.size());
  for (std::size_t g = 0; g < book.ClassGroups.size(); ++g) {
    AnalysisFigures figures = AnalyseGroup(book, linesOf[g]);
    const std::string_view entry = book.ClassGroups[g];
    figures.CourseKey = entry.substr(0, std::min<std::size_t>(5, entry.size()));
    figures.ClassCode = entry.size() > 5 ? entry.substr(5) : std::string_view();
    groups.push_back(std::move(figures));
  }
  return groups;
}
