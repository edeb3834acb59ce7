// The figures of the course analysis: groups of totals against the figures
// a teacher would work out by hand, the classes of the split sheet, the
// coursework-examination correlation and the finer histogram.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "printing/CourseAnalysis.h"
#include "test_sheet_fixture.h"

namespace {

using sheet_test::Head;
using sheet_test::Record;

std::vector<std::string> Repeat(const std::string& text, int times) {
  return std::vector<std::string>(static_cast<std::size_t>(times), text);
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct GroupCase {
  const char* Name;
  std::vector<std::string> Totals;
  std::int64_t Scored, Levels, Uncounted;
  const char *Mean, *Median, *Sd;
  std::optional<int> Max, Min;
  const char *Pass, *Excellent;
  std::array<std::int64_t, 5> Bands;
  std::array<std::int64_t, 5> LevelCounts;
};

const std::vector<GroupCase>& GroupCases() {
  static const std::vector<GroupCase> cases = {
      // 625/8 = 78.125; the variance 7/56 = 0.125.
      {"mean on an exact half", Join(Repeat("78", 7), {"79"}), 8, 0, 0, "78.13", "78.00", "0.35", 79, 78,
       "100.00", "0.00", {0, 0, 8, 0, 0}, {}},
      // 63 times 70 and once 71: the deviation is exactly 0.125.
      {"deviation on an exact half", Join(Repeat("70", 63), {"71"}), 64, 0, 0, "70.02", "70.00", "0.13", 71,
       70, "100.00", "0.00", {0, 0, 64, 0, 0}, {}},
      {"no score", {"缺考", "", "缓考", "旷考"}, 0, 0, 4, "", "", "", std::nullopt, std::nullopt, "", "",
       {0, 0, 0, 0, 0}, {}},
      {"one score", {"85", "旷考"}, 1, 0, 1, "85.00", "85.00", "", 85, 85, "100.00", "0.00", {0, 1, 0, 0, 0}, {}},
      {"two scores, median between", {"61", "60"}, 2, 0, 0, "60.50", "60.50", "0.71", 61, 60, "100.00", "0.00",
       {0, 0, 0, 2, 0}, {}},
      {"cheating counts as 0", {"作弊", "90"}, 2, 0, 0, "45.00", "45.00", "63.64", 90, 0, "50.00", "50.00",
       {1, 0, 0, 0, 1}, {}},
      {"levels beside numbers", {"优", "良", "85", "不及格", "及格", "A", "70", "合格", "缺考"}, 2, 6, 1, "77.50",
       "77.50", "10.61", 85, 70, "100.00", "0.00", {0, 1, 1, 0, 0}, {2, 1, 0, 2, 1}},
      // Above 100 is outside the bands of the sheet: it falls with the rest.
      {"totals above 100", {"105", "95", "59"}, 3, 0, 0, "86.33", "95.00", "24.19", 105, 59, "33.33", "33.33",
       {1, 0, 0, 0, 2}, {}},
      // Decimals are rounded as the parser rounds (half to even).
      {"decimal totals", {"84.5", "85.5"}, 2, 0, 0, "85.00", "85.00", "1.41", 86, 84, "100.00", "0.00",
       {0, 2, 0, 0, 0}, {}},
  };
  return cases;
}

GradeBook BookOf(const std::vector<std::string>& totals) {
  GradeBook book;
  book.HeadLines.push_back(Head("00001", "tk", "高等数学"));
  for (std::size_t i = 0; i < totals.size(); ++i)
    book.GradeLines.push_back(Record("00001", std::to_string(1000 + i), "张三", "计科2301", "", "", totals[i]));
  book.BuildCourseList();
  return book;
}

TEST(CourseAnalysis, GroupsAgainstTheirFigures) {
  for (const GroupCase& c : GroupCases()) {
    SCOPED_TRACE(c.Name);
    const GradeBook book = BookOf(c.Totals);
    const std::vector<CourseAnalysis> courses = AnalyseCourses(book);
    ASSERT_EQ(courses.size(), 1u);
    const AnalysisFigures& f = courses[0].Whole;
    EXPECT_EQ(f.CourseKey, "00001");
    EXPECT_EQ(f.ClassCode, "");
    EXPECT_EQ(f.Students, static_cast<std::int64_t>(c.Totals.size()));
    EXPECT_EQ(f.Scored, c.Scored);
    EXPECT_EQ(f.Levels, c.Levels);
    EXPECT_EQ(f.Uncounted, c.Uncounted);
    EXPECT_EQ(f.Mean, c.Mean);
    EXPECT_EQ(f.Median, c.Median);
    EXPECT_EQ(f.Sd, c.Sd);
    EXPECT_EQ(f.Max, c.Max);
    EXPECT_EQ(f.Min, c.Min);
    EXPECT_EQ(f.PassRate, c.Pass);
    EXPECT_EQ(f.ExcellentRate, c.Excellent);
    EXPECT_EQ(f.Bands, c.Bands);
    EXPECT_EQ(f.LevelCounts, c.LevelCounts);
  }
}

// Two courses, the first with its classes interleaved and a class of a
// course without header lines (on the split sheet, not in the course list).
GradeBook SplitBook() {
  GradeBook book;
  book.HeadLines = {Head("00001", "tk", "高等数学"), Head("00001", "tj", "陈建华 "),
                    Head("00001", "tb", " 计科2301,计科2302"), Head("00001", "t1", "2023-2024学年度第一学期"),
                    Head("00002", "tk", "大学英语")};
  const char* rows[][4] = {
      {"00001", "计科2301", "80", "90"}, {"00001", "计科2302", "70", "60"}, {"00001", "计科2301", "90", "95"},
      {"00001", "计科2302", "60", "作弊"}, {"00002", "软件2301", "", "优"}, {"00003", "软件2302", "", "77"},
      {"00001", "计科2301", "85", "缺考"},
  };
  int n = 0;
  for (const auto& r : rows)
    book.GradeLines.push_back(Record(r[0], std::to_string(++n), "李四", r[1], r[2], r[2], r[3]));
  book.BuildCourseList();
  return book;
}

TEST(CourseAnalysis, TheSplitSheetsGroupsInItsOrder) {
  const GradeBook book = SplitBook();
  const std::vector<AnalysisFigures> groups = AnalyseClassGroups(book);
  ASSERT_EQ(groups.size(), 4u);
  struct Expected {
    const char* Key;
    const char* Class;
    std::int64_t Students, Scored;
    const char* Mean;
  };
  const Expected expected[] = {{"00001", "计科2301", 3, 2, "92.50"},
                               {"00001", "计科2302", 2, 2, "30.00"},
                               {"00002", "软件2301", 1, 0, ""},
                               {"00003", "软件2302", 1, 1, "77.00"}};
  for (std::size_t g = 0; g < groups.size(); ++g) {
    SCOPED_TRACE(g);
    EXPECT_EQ(groups[g].CourseKey, expected[g].Key);
    EXPECT_EQ(groups[g].ClassCode, Gbk(expected[g].Class));
    EXPECT_EQ(groups[g].Students, expected[g].Students);
    EXPECT_EQ(groups[g].Scored, expected[g].Scored);
    EXPECT_EQ(groups[g].Mean, expected[g].Mean);
  }

  // The course list's courses, each with its classes in the same order.
  const std::vector<CourseAnalysis> courses = AnalyseCourses(book);
  ASSERT_EQ(courses.size(), 2u);
  const CourseAnalysis& maths = courses[0];
  EXPECT_EQ(maths.Name, Gbk("高等数学"));
  EXPECT_EQ(maths.Teacher, Gbk("陈建华"));
  EXPECT_EQ(maths.ClassList, Gbk("计科2301,计科2302"));
  EXPECT_EQ(maths.Term, Gbk("2023-2024学年度第一学期"));
  EXPECT_EQ(maths.Whole.Students, 5);
  EXPECT_EQ(maths.Whole.Mean, "61.25");
  ASSERT_EQ(maths.Classes.size(), 2u);
  EXPECT_EQ(maths.Classes[0].Mean, groups[0].Mean);
  EXPECT_EQ(maths.Classes[1].ClassCode, groups[1].ClassCode);
  EXPECT_EQ(courses[1].Whole.Levels, 1);
  EXPECT_EQ(courses[1].Whole.LevelCounts[0], 1);
}

TEST(CourseAnalysis, CorrelationAndHistogram) {
  struct Case {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Grades;  // coursework, examination
    const char* R;
    std::size_t Pairs;
  };
  const Case cases[] = {
      {"by hand", {{"80", "75"}, {"70", "72"}, {"90", "88"}, {"60", "50"}, {"85", "91"}}, "0.95", 5},
      {"falling", {{"1", "3"}, {"2", "2"}, {"3", "1"}}, "-1.00", 3},
      {"words and levels left out", {{"80", "75"}, {"优", "90"}, {"缺考", "20"}, {"70", "65"}}, "1.00", 2},
      {"one pair", {{"80", "75"}, {"", "90"}}, "", 1},
      {"no spread", {{"80", "75"}, {"80", "90"}}, "", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    GradeBook book;
    book.HeadLines.push_back(Head("00001", "tk", "x"));
    for (const auto& [coursework, examination] : c.Grades)
      book.GradeLines.push_back(Record("00001", "1", "x", "c", coursework, examination, examination));
    book.BuildCourseList();
    const CourseAnalysis course = AnalyseCourses(book).at(0);
    EXPECT_EQ(course.Correlation, c.R);
    EXPECT_EQ(course.Pairs.size(), c.Pairs);
  }

  const GradeBook book = BookOf({"0", "4", "5", "94", "95", "100", "101", "作弊", "优", "缺考"});
  const CourseAnalysis course = AnalyseCourses(book).at(0);
  std::array<std::int64_t, kHistogramBins> expected{};
  expected[0] = 3;  // 0, 4 and 作弊
  expected[1] = 1;
  expected[18] = 1;
  expected[19] = 2;  // 95 and 100
  EXPECT_EQ(course.Histogram, expected);
  EXPECT_EQ(course.OutsideHistogram, 1);
}

}  // namespace
