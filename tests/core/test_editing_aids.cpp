// The rules behind paste, copy, find and the recent files: how clipboard
// text splits into cells and lands on the grade fields, which student a
// search finds next, and how the list of recent files keeps its order.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "gradefile/Clipboard.h"
#include "gradefile/FindStudent.h"
#include "gradefile/RecentFiles.h"
#include "platform/Files.h"
#include "text/Gbk.h"

namespace {

// ---- clipboard text --------------------------------------------------------------

struct SplitCase {
  const char* Name;
  std::string Text;
  CellBlock Rows;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.Name; }
class SplitTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, RowsByLineEndsCellsByTabs) {
  EXPECT_EQ(SplitClipboardText(GetParam().Text), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, SplitTable,
    ::testing::Values(
        SplitCase{"empty", "", {}},
        SplitCase{"one value", "85", {{"85"}}},
        SplitCase{"a spreadsheet cell: its line end adds no row", "85\r\n", {{"85"}}},
        SplitCase{"CR LF rows", "1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
        SplitCase{"LF rows", "1\t2\n3\t4\n", {{"1", "2"}, {"3", "4"}}},
        SplitCase{"CR rows", "1\r2\r", {{"1"}, {"2"}}},
        SplitCase{"without the last line end", "1\n2", {{"1"}, {"2"}}},
        SplitCase{"an empty row in the middle stays", "1\n\n3\n", {{"1"}, {""}, {"3"}}},
        SplitCase{"an empty line alone is one empty cell", "\n", {{""}}},
        SplitCase{"empty cells between tabs", "\t\t9", {{"", "", "9"}}},
        SplitCase{"GBK words keep their bytes", Gbk("优\t缺考\n"), {{Gbk("优"), Gbk("缺考")}}}));

TEST(Clipboard, JoinIsWhatSplitReads) {
  const CellBlock block{{"80", "90"}, {Gbk("优"), ""}};
  EXPECT_EQ(JoinClipboardText(block), "80\t90\n" + Gbk("优") + "\t");
  EXPECT_EQ(SplitClipboardText(JoinClipboardText(block)), block);
}

TEST(Clipboard, ABlockIsMoreThanOneValue) {
  EXPECT_FALSE(IsCellBlock("85"));
  EXPECT_FALSE(IsCellBlock(Gbk("不 及格")));
  EXPECT_TRUE(IsCellBlock("85\n"));
  EXPECT_TRUE(IsCellBlock("85\r"));
  EXPECT_TRUE(IsCellBlock("85\t90"));
}

// ---- where a paste lands ---------------------------------------------------------

struct PlanCase {
  const char* Name;
  CellBlock Rows;
  StudentCell Start;
  int Students;
  std::vector<std::pair<StudentCell, std::string>> Cells;
  int RowsLeftOut;
  int ColumnsCut;
};
void PrintTo(const PlanCase& c, std::ostream* os) { *os << c.Name; }
class PlanTable : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTable, FillsRightAndDown) {
  const PlanCase& c = GetParam();
  const PastePlan plan = PlanPaste(c.Rows, c.Start, c.Students);
  std::vector<std::pair<StudentCell, std::string>> cells;
  for (const PasteCell& cell : plan.Cells) cells.emplace_back(cell.Place, cell.Text);
  EXPECT_EQ(cells, c.Cells);
  EXPECT_EQ(plan.RowsLeftOut, c.RowsLeftOut);
  EXPECT_EQ(plan.ColumnsCut, c.ColumnsCut);
}

using enum GradeField;

INSTANTIATE_TEST_SUITE_P(
    Paste, PlanTable,
    ::testing::Values(
        PlanCase{"3x2 from the coursework, trimmed, in typing order",
                 {{" 70", "80 "}, {"60", "50"}, {"90", "100"}}, {1, Coursework}, 5,
                 {{{1, Coursework}, "70"}, {{1, Examination}, "80"}, {{2, Coursework}, "60"},
                  {{2, Examination}, "50"}, {{3, Coursework}, "90"}, {{3, Examination}, "100"}},
                 0, 0},
        PlanCase{"rows past the last student are left out", {{"1"}, {"2"}, {"3"}}, {3, Total}, 5,
                 {{{3, Total}, "1"}, {{4, Total}, "2"}}, 1, 0},
        PlanCase{"cut at the total", {{"1", "2", "3", "4"}}, {0, Examination}, 5,
                 {{{0, Examination}, "1"}, {{0, Total}, "2"}}, 0, 2},
        PlanCase{"a course without students takes nothing", {{"1"}, {"2"}}, {0, Coursework}, 0, {}, 2, 0},
        PlanCase{"ragged rows: each as long as it is", {{"1", "2", "3"}, {"4"}}, {0, Coursework}, 5,
                 {{{0, Coursework}, "1"}, {{0, Examination}, "2"}, {{0, Total}, "3"}, {{1, Coursework}, "4"}}, 0,
                 0}));

// ---- finding a student -----------------------------------------------------------

std::vector<StudentEntry> Class() {
  return {{0, 0, "2022000001", Gbk("王  明  ")},
          {0, 1, "2022000002", Gbk("李华    ")},
          {1, 0, "2022000001", Gbk("王  明  ")},
          {1, 1, "S2022AB   ", Gbk("Anna Li ")}};
}

struct FindCase {
  const char* Name;
  std::string Query;
  long After;
  std::optional<std::size_t> Found;
};
void PrintTo(const FindCase& c, std::ostream* os) { *os << c.Name; }
class FindTable : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTable, NextMatchAfterAPlaceGoingRound) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindNextStudent(Class(), c.Query, c.After), c.Found);
}

INSTANTIATE_TEST_SUITE_P(
    Find, FindTable,
    ::testing::Values(FindCase{"from the start", "王明", -1, 0},
                      FindCase{"the next after the current", "王明", 0, 2},
                      FindCase{"round to the start", "王明", 2, 0},
                      FindCase{"a single match is found again", "李", 1, 1},
                      FindCase{"a number's start", "2022000002", -1, 1},
                      FindCase{"the middle of a number is not a number", "000002", -1, std::nullopt},
                      FindCase{"ASCII in either case", "s2022ab", -1, 3},
                      FindCase{"a name's part, blanks left out", "anna l", -1, 3},
                      FindCase{"the query's blanks at the ends", "  李华 ", 3, 1},
                      FindCase{"the empty query finds nothing", "   ", -1, std::nullopt},
                      FindCase{"nothing matches", "张", -1, std::nullopt},
                      FindCase{"a place past the end starts at the top", "王", 99, 0}));

TEST(Find, StudentsInTheOrderOfTheCoursesAndTheirRecords) {
  GradeBook book;
  book.CourseKeys = {"k0001", "k0002"};
  const std::string pad(57 - 25, ' ');
  book.GradeLines = {"k0002cj2022000009" + Gbk("钱五    ") + pad, "k0001cj2022000001" + Gbk("王明    ") + pad,
                     "k0002cj2022000001" + Gbk("王明    ") + pad};
  const std::vector<StudentEntry> students = StudentsInListOrder(book);
  ASSERT_EQ(students.size(), 3U);
  EXPECT_EQ(students[0].Course, 0U);
  EXPECT_EQ(students[0].Student, 0);
  EXPECT_EQ(students[1].Number, "2022000009");
  EXPECT_EQ(students[1].Course, 1U);
  EXPECT_EQ(students[1].Student, 0);
  EXPECT_EQ(students[2].Student, 1);
}

// ---- recent files ----------------------------------------------------------------

TEST(RecentFiles, NewestFirstWithoutRepeatsAtMostEight) {
  RecentFiles list;
  for (int i = 1; i <= 9; ++i) list.Add("/t/" + std::to_string(i) + ".txt");
  ASSERT_EQ(list.Paths().size(), RecentFiles::kLimit);
  EXPECT_EQ(list.Paths().front(), "/t/9.txt");
  EXPECT_EQ(list.Paths().back(), "/t/2.txt");  // 1 fell off
  list.Add("/t/5.txt");  // opened again: first, not twice
  EXPECT_EQ(list.Paths()[0], "/t/5.txt");
  EXPECT_EQ(list.Paths()[1], "/t/9.txt");
  EXPECT_EQ(std::count(list.Paths().begin(), list.Paths().end(), "/t/5.txt"), 1);
  EXPECT_EQ(list.Paths()[4], "/t/6.txt") << "the others keep their order";
  EXPECT_EQ(list.Paths()[5], "/t/4.txt");
  EXPECT_EQ(list.Paths().size(), RecentFiles::kLimit);
  EXPECT_TRUE(list.Remove("/t/9.txt"));
  EXPECT_FALSE(list.Remove("/t/9.txt"));
  EXPECT_EQ(list.Paths()[1], "/t/8.txt");
}

TEST(RecentFiles, StoredAsTheBytesOfThePaths) {
  RecentFiles list;
  list.Add("/t/a.txt");
  list.Add("/t/" + Gbk("成绩") + ".txt");  // a GBK name on a UTF-8 system
  list.Add("relative.txt");                // not a place to find again
  list.Add("/t/line\nend.txt");            // would split the stored list
  EXPECT_EQ(list.Serialize(), "/t/" + Gbk("成绩") + ".txt\n/t/a.txt\n");
  EXPECT_EQ(RecentFiles::Parse(list.Serialize()).Paths(), list.Paths());
  // A damaged list: blank lines, repeats, CR LF, junk and too many lines.
  std::string stored = "\r\n/a\r\n/a\nnot/absolute\n";
  for (int i = 0; i < 12; ++i) stored += "/f" + std::to_string(i) + "\n";
  const std::vector<std::string> expected = {"/a", "/f0", "/f1", "/f2", "/f3", "/f4", "/f5", "/f6"};
  EXPECT_EQ(RecentFiles::Parse(stored).Paths(), expected);
}

// A stored list with damaged lines, however long, keeps its good entries.
TEST(RecentFiles, ReadKeepsTheGoodLinesOfADamagedList) {
  const std::string file = ::testing::TempDir() + "recent-files-" + std::to_string(::getpid());
  const std::string huge = "/" + std::string(200000, 'x');
  const std::string endless = "/" + std::string(3u << 20, 'x');  // longer than the whole read
  struct Case {
    std::string Stored;
    std::vector<std::string> Expected;
  };
  const Case cases[] = {
      {"/a\n" + huge + "\n/b\n", {"/a", "/b"}},
      {"/a\n" + endless + "\n/b\n", {"/a"}},  // the read stops in the line
      {"/a\n/" + std::string(RecentFiles::kMaxPathBytes, 'y') + "\n/b\n/c", {"/a", "/b", "/c"}},
      {"/a\n/" + std::string(RecentFiles::kMaxPathBytes - 1, 'z') + "\n",
       {"/a", "/" + std::string(RecentFiles::kMaxPathBytes - 1, 'z')}},
      {"", {}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(platform::WriteWholeFile(file, c.Stored).Ok());
    EXPECT_EQ(RecentFiles::Read(file).Paths(), c.Expected) << c.Stored.size() << " bytes";
    if (c.Stored.size() < RecentFiles::kMaxReadBytes) EXPECT_EQ(RecentFiles::Parse(c.Stored).Paths(), c.Expected);
  }
  std::remove(file.c_str());
  EXPECT_TRUE(RecentFiles::Read(file).Paths().empty());
}

}  // namespace
