// Pagination of the grade sheet: groups, pages of forty, rows in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <random>
#include <utility>

#include "grading/Numbers.h"

#include "printing/RecordingCanvas.h"
#include "test_sheet_fixture.h"

using namespace sheet_test;

namespace {

struct PageShape {
  std::int32_t GroupCount, FirstRow, GroupIndex;
};

std::vector<PageShape> Shapes(const TPageList& pages) {
  std::vector<PageShape> shapes;
  for (const TPageEntry& p : pages) shapes.push_back({p.GroupCount, p.FirstRow, p.GroupIndex});
  return shapes;
}

bool operator==(const PageShape& a, const PageShape& b) {
  return a.GroupCount == b.GroupCount && a.FirstRow == b.FirstRow && a.GroupIndex == b.GroupIndex;
}

// The layout as a scan of every grade line per group, for comparison.
void ScanPerGroup(const GradeBook& book, bool split, TPageList& pages, TRowList& rows) {
  pages.clear();
  rows.clear();
  const Lines& groups = split ? book.ClassGroups : book.CourseKeys;
  std::int32_t offset = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::string_view entry = groups[g];
    std::string_view key = split ? entry.substr(0, 5) : entry;
    std::string_view cls = split && entry.size() > 5 ? entry.substr(5, 8) : std::string_view();
    std::int32_t count = 0;
    for (std::size_t i = 0; i < book.GradeLines.size(); ++i) {
      std::string_view line = book.GradeLines[i];
      if (line.substr(0, 5) != key) continue;
      if (split && (line.size() < 26 ? std::string_view() : line.substr(25, 8)) != cls) continue;
      rows.push_back({static_cast<std::int32_t>(i)});
      ++count;
    }
    std::int32_t n = count / 40;
    if (n * 40 < count || n == 0) ++n;
    for (std::int32_t p = 0; p < n; ++p)
      pages.push_back({count, offset + 40 * p, static_cast<std::int32_t>(g)});
    offset += count;
  }
}

struct PagesCase {
  std::vector<int> Students;
  std::vector<PageShape> Expected;
};
void PrintTo(const PagesCase& c, std::ostream* os) {
  const char* plus = "";
  for (int n : c.Students) *os << std::exchange(plus, " + ") << n;
  *os << " students";
}

class SheetPagesTest : public ::testing::TestWithParam<PagesCase> {};

TEST_P(SheetPagesTest, CutsEachCourseIntoPagesOfForty) {
  Sheet sheet;
  const PagesCase& c = GetParam();
  for (std::size_t i = 0; i < c.Students.size(); ++i)
    sheet.AddCourse("C000" + std::to_string(i + 1), c.Students[i]);
  sheet.Layout();
  EXPECT_EQ(Shapes(sheet.Pages), c.Expected);
  EXPECT_EQ(sheet.Printer.FPageCount, static_cast<std::int32_t>(c.Expected.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, SheetPagesTest,
    ::testing::Values(PagesCase{{40}, {{40, 0, 0}}},
                      PagesCase{{41}, {{41, 0, 0}, {41, 40, 0}}},
                      PagesCase{{0}, {{0, 0, 0}}},
                      PagesCase{{80}, {{80, 0, 0}, {80, 40, 0}}},
                      PagesCase{{10, 45, 0}, {{10, 0, 0}, {45, 10, 1}, {45, 50, 1}, {0, 55, 2}}},
                      PagesCase{{}, {}}));

TEST(SheetPages, PageRowsRunToTheNextPageOrTheEndOfTheRowList) {
  Sheet sheet;
  sheet.AddCourse("C0001", 10);
  sheet.AddCourse("C0002", 45);
  sheet.AddCourse("C0003", 0);
  sheet.Layout();
  RecordingCanvas canvas(600);
  const std::pair<int, int> expected[] = {{0, 10}, {10, 50}, {50, 55}, {55, 55}};
  for (int page = 1; page <= 4; ++page) {
    sheet.Printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    EXPECT_EQ(sheet.Printer.FFirstRow, expected[page - 1].first) << page;
    EXPECT_EQ(sheet.Printer.FEndRow, expected[page - 1].second) << page;
  }
}

TEST(SheetPages, SplitSheetGroupsByClassInOrderOfFirstAppearance) {
  Sheet sheet;
  sheet.Book.HeadLines.push_back(Head("C0001", "tk", "数学"));
  const char* classes[] = {"B", "A", "B", "A", "B"};
  for (int i = 0; i < 5; ++i)
    sheet.Book.GradeLines.push_back(
        Record("C0001", std::to_string(i), "李四", classes[i], "", "", ""));
  sheet.Kind = SheetKind::ByClass;
  sheet.Layout();
  ASSERT_EQ(sheet.Pages.size(), 2u);
  EXPECT_EQ(sheet.Pages[0].GroupCount, 3);
  EXPECT_EQ(sheet.Pages[1].GroupCount, 2);
  EXPECT_EQ(sheet.Pages[1].FirstRow, 3);
  std::vector<std::int32_t> lines;
  for (const TRowEntry& r : sheet.Rows) lines.push_back(r.LineIndex);
  EXPECT_EQ(lines, (std::vector<std::int32_t>{0, 2, 4, 1, 3}));

  // Both pages carry the course's heading.
  for (int page = 1; page <= 2; ++page) {
    RecordingCanvas canvas(600);
    sheet.Printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    EXPECT_NE(canvas.FindText(Gbk("数学")), nullptr) << page;
  }
}

TEST(SheetPages, RelayoutReplacesThePreviousLists) {
  Sheet sheet;
  sheet.AddCourse("C0001", 45);
  sheet.Layout();
  sheet.Printer.MakePages();
  EXPECT_EQ(sheet.Pages.size(), 2u);
  EXPECT_EQ(sheet.Rows.size(), 45u);
}

// Random books, with courses split over two runs of header lines, records
// without header lines, short records and classes, in both sheet modes.
TEST(SheetPages, OnePassGivesTheSameLayoutAsAScanPerGroup) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    Sheet sheet;
    const int courses = 1 + static_cast<int>(random() % 6);
    for (int c = 0; c < courses; ++c)
      sheet.Book.HeadLines.push_back(Head("K000" + std::to_string(c), "tk", "x"));
    sheet.Book.HeadLines.push_back(Head("K0000", "tz", "again"));  // a second run of K0000
    const int records = static_cast<int>(random() % 200);
    for (int i = 0; i < records; ++i) {
      std::string key = "K000" + std::to_string(random() % (courses + 1));
      std::string cls = std::string(1, static_cast<char>('A' + random() % 3));
      std::string line = Record(key, std::to_string(i), "n", cls, "", "", "");
      if (random() % 10 == 0) line.resize(7 + random() % 30);
      sheet.Book.GradeLines.push_back(line);
    }
    sheet.Book.BuildCourseList();
    for (SheetKind kind : {SheetKind::WholeCourse, SheetKind::ByClass}) {
      sheet.Kind = kind;
      sheet.Printer.MakePages();
      TPageList pages;
      TRowList rows;
      ScanPerGroup(sheet.Book, kind == SheetKind::ByClass, pages, rows);
      ASSERT_EQ(Shapes(sheet.Pages), Shapes(pages)) << "round " << round << " by class " << (kind == SheetKind::ByClass);
      ASSERT_EQ(sheet.Rows.size(), rows.size());
      for (std::size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(sheet.Rows[i].LineIndex, rows[i].LineIndex);
    }
  }
}

// More pages than 16 bits can number: 70,000 courses of one student each.
class ManyPages : public ::testing::Test {
 protected:
  static constexpr int kCourses = 70000;
  static std::string Key(int i) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", i);
    return key;
  }
  static void SetUpTestSuite() {
    sheet_ = new Sheet;
    for (int i = 0; i < kCourses; ++i) {
      const std::string key = Key(i);
      sheet_->Book.HeadLines.push_back(Head(key, "tk", "") + "name" + key);
      sheet_->Book.HeadLines.push_back(Head(key, "t9", std::to_string(10 + i % 80)));
      sheet_->Book.GradeLines.push_back(
          Record(key, "S" + key, "张三", "CLASS1", "", "", std::to_string(40 + i % 61)));
    }
    sheet_->Layout();
  }
  static void TearDownTestSuite() {
    delete sheet_;
    sheet_ = nullptr;
  }
  static Sheet* sheet_;
};
Sheet* ManyPages::sheet_ = nullptr;

TEST_F(ManyPages, TheLastPagesDrawTheirOwnCoursesWithTheirFigures) {
  Sheet& sheet = *sheet_;
  ASSERT_EQ(sheet.Printer.FPageCount, kCourses);
  for (int page : {65535, 65536, 65537, kCourses}) {
    const int course = page - 1;
    RecordingCanvas canvas(600);
    sheet.Printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    EXPECT_NE(canvas.FindText("name" + Key(course)), nullptr) << page;
    EXPECT_NE(canvas.FindText(Pad("S" + Key(course), 10)), nullptr) << page;
    EXPECT_EQ(sheet.Printer.FFirstRow, course) << page;
    const std::string share = FormatInt(10 + course % 80, 3);
    EXPECT_NE(canvas.FindText(share), nullptr) << page;
    const std::string average = FormatQuotient(40 + course % 61, 1, 2, 6);
    EXPECT_NE(canvas.FindText(average), nullptr) << page;

    TGroupFigures figures;
    ASSERT_TRUE(sheet.Printer.PageFigures(page, figures)) << page;
    EXPECT_EQ(figures.CourseKey, Key(course));
    EXPECT_EQ(figures.Average, average);
  }
  TGroupFigures figures;
  EXPECT_FALSE(sheet.Printer.PageFigures(kCourses + 1, figures));
  RecordingCanvas beyond(600);
  sheet.Printer.DrawPage(beyond, kCourses + 1, DevicePrinter, 1.0);
  sheet.Printer.DrawPage(beyond, -1, DevicePrinter, 1.0);
  EXPECT_TRUE(beyond.Ops.empty());
}

TEST_F(ManyPages, EveryGroupIsListedOnceWithThePageFiguresOfItsFirstPage) {
  Sheet& sheet = *sheet_;
  int groups = 0;
  bool same = true;
  sheet.Printer.EveryGroupFigures([&](std::int32_t firstPage, const TGroupFigures& f) {
    ++groups;
    same = same && firstPage == groups && f.CourseKey == Key(firstPage - 1);
    if (firstPage % 9973 == 0 || firstPage == kCourses) {
      TGroupFigures one;
      same = same && sheet.Printer.PageFigures(firstPage, one) && one.Average == f.Average &&
             one.Coursework == f.Coursework && one.Bands == f.Bands && one.Due == f.Due;
    }
    return true;
  });
  EXPECT_EQ(groups, kCourses);
  EXPECT_TRUE(same);

  int seen = 0;
  sheet.Printer.EveryGroupFigures([&](std::int32_t, const TGroupFigures&) { return ++seen < 3; });
  EXPECT_EQ(seen, 3);
}

TEST(SheetPages, BaseClassLaysOutNothing) {
  SheetPrinter base;
  base.FPageCount = 3;
  EXPECT_TRUE(base.MakePages());
  EXPECT_EQ(base.FPageCount, 0);
  RecordingCanvas canvas;
  EXPECT_TRUE(base.DrawPage(canvas, 1, 0, 1.0));
  EXPECT_TRUE(canvas.Ops.empty());
}

}  // namespace
