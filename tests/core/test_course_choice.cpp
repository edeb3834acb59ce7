// Which pages a course choice prints: the printer lays out the chosen
// courses' groups only, whole and split by class.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/ChosenPages.h"
#include "printing/CourseChoice.h"
#include "text/Blanks.h"
#include "test_sheet_fixture.h"

using namespace sheet_test;

namespace {

struct ChoiceCase {
  const char* Name;
  CourseChoice Choice;
  SheetKind Kind;
  // One entry per page: course key, and the class on the split sheet.
  std::vector<std::string> Pages;
};

// Three courses: A 45 students (two pages), B 10, C 30 of class X and 50 of class Y.
std::vector<std::string> PagesOf(const ChoiceCase& c) {
  Sheet sheet;
  sheet.AddCourse("KA001", 45);
  sheet.AddCourse("KB002", 10);
  sheet.AddCourse("KC003", 30, {}, "X");
  for (int i = 0; i < 50; ++i)
    sheet.Book.GradeLines.push_back(Record("KC003", "Y" + std::to_string(i), "李四", "Y", "70", "70", "70"));
  sheet.Kind = c.Kind;
  sheet.Printer.ChooseCourses(c.Choice);
  sheet.Layout();
  std::vector<std::string> pages;
  for (std::int32_t p = 1; p <= sheet.Printer.FPageCount; ++p) {
    TGroupFigures f;
    EXPECT_TRUE(sheet.Printer.PageFigures(p, f));
    std::string page = f.CourseKey;
    if (c.Kind == SheetKind::ByClass) page += " " + std::string(TrimmedBlanks(f.ClassCode));
    page += " of " + std::to_string(f.GroupCount);
    pages.push_back(page);
  }
  return pages;
}

class CourseChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(CourseChoiceTest, PrintsThePagesOfTheChosenCoursesOnly) { EXPECT_EQ(PagesOf(GetParam()), GetParam().Pages); }

INSTANTIATE_TEST_SUITE_P(
    Choices, CourseChoiceTest,
    ::testing::Values(
        ChoiceCase{"AllWhole", CourseChoice::All(), SheetKind::WholeCourse,
                   {"KA001 of 45", "KA001 of 45", "KB002 of 10", "KC003 of 80", "KC003 of 80"}},
        ChoiceCase{"ShownWhole", CourseChoice::Shown("KB002"), SheetKind::WholeCourse, {"KB002 of 10"}},
        ChoiceCase{"ChosenInBookOrder", CourseChoice::Chosen({"KC003", "KA001"}), SheetKind::WholeCourse,
                   {"KA001 of 45", "KA001 of 45", "KC003 of 80", "KC003 of 80"}},
        ChoiceCase{"ShownSplitHasAllItsClasses", CourseChoice::Shown("KC003"), SheetKind::ByClass,
                   {"KC003 X of 30", "KC003 Y of 50", "KC003 Y of 50"}},
        ChoiceCase{"ChosenSplit", CourseChoice::Chosen({"KB002", "KC003"}), SheetKind::ByClass,
                   {"KB002 CLASS1 of 10", "KC003 X of 30", "KC003 Y of 50", "KC003 Y of 50"}},
        ChoiceCase{"NoneChosen", CourseChoice::Chosen({}), SheetKind::WholeCourse, {}},
        ChoiceCase{"UnknownKeyPrintsNothing", CourseChoice::Chosen({"ZZ999"}), SheetKind::ByClass, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CourseChoiceTest, ChosenPagesDrawTheirOwnRows) {
  // The second course alone: its page draws its own students, not the first course's.
  Sheet sheet;
  sheet.AddCourse("KA001", 3);
  sheet.AddCourse("KB002", 2);
  sheet.Printer.ChooseCourses(CourseChoice::Shown("KB002"));
  sheet.Layout();
  ASSERT_EQ(sheet.Printer.FPageCount, 1);
  ASSERT_EQ(sheet.Rows.size(), 2u);
  EXPECT_EQ(sheet.Book.GradeLines[static_cast<std::size_t>(sheet.Rows[0].LineIndex)].substr(0, 5), "KB002");
}

struct MissingCase {
  std::vector<std::string> Wanted, Known, Missing;
};

TEST(CourseChoiceTest, NamesEachMissingKeyOnce) {
  const MissingCase cases[] = {
      {{"A", "B"}, {"A", "B", "C"}, {}},
      {{"X", "A", "X", "Y"}, {"A"}, {"X", "Y"}},
      {{}, {"A"}, {}},
      {{"A"}, {}, {"A"}},
  };
  for (const MissingCase& c : cases) EXPECT_EQ(MissingCourseKeys(c.Wanted, c.Known), c.Missing);
}

}  // namespace

namespace {

TEST(CourseChoiceTest, FindsThePageShownAmongTheChosenPages) {
  // A 45 students (pages 1-2), B 10 (page 3), C 50 (pages 4-5); B and C chosen.
  Sheet all;
  all.AddCourse("KA001", 45);
  all.AddCourse("KB002", 10);
  all.AddCourse("KC003", 50);
  all.Layout();
  Sheet chosen;
  chosen.AddCourse("KA001", 45);
  chosen.AddCourse("KB002", 10);
  chosen.AddCourse("KC003", 50);
  chosen.Printer.ChooseCourses(CourseChoice::Chosen({"KB002", "KC003"}));
  chosen.Layout();
  const std::pair<std::int32_t, std::int32_t> cases[] = {{1, 0}, {2, 0}, {3, 1}, {4, 2}, {5, 3}, {6, 0}, {0, 0}};
  for (const auto& [shown, expected] : cases)
    EXPECT_EQ(SamePageIn(all.Pages, shown, chosen.Pages), expected) << "page " << shown;
}

}  // namespace
