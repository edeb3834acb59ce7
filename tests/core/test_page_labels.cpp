// What the page chooser offers beside each page number.
#include <gtest/gtest.h>

#include "printing/PageLabels.h"
#include "test_sheet_fixture.h"

using namespace sheet_test;

namespace {

GradeBook TwoCourses() {
  GradeBook book;
  book.HeadLines = {Head("k0001", "tk", "数据库原理"), Head("k0001", "t9", "30"),
                    Head("k0002", "tj", "李老师")};  // no name: the key stands for it
  book.GradeLines = {Record("k0001", "2022000001", "王小明", "计科2201", "80", "90", "87"),
                     Record("k0001", "2022000002", "李华", "计科2202", "70", "80", "77"),
                     Record("k0002", "2022000003", "赵四", "计科2201", "60", "70", "67")};
  book.BuildCourseList();
  return book;
}

std::vector<std::string> Utf8(const std::vector<std::string>& gbk) {
  std::vector<std::string> out;
  for (const std::string& text : gbk) out.push_back(GbkToUtf8(text));
  return out;
}

struct LabelCase {
  const char* Name;
  bool ByClass;
  TPageList Pages;
  std::vector<std::string> Labels;
};
void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.Name; }

class PageLabelTable : public ::testing::TestWithParam<LabelCase> {};

TEST_P(PageLabelTable, NamesEachPage) {
  const LabelCase& c = GetParam();
  EXPECT_EQ(Utf8(PageLabels(c.Pages, TwoCourses(), c.ByClass)), c.Labels);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, PageLabelTable,
    ::testing::Values(
        LabelCase{"by course, a group of two pages", false, {{2, 0, 0}, {2, 1, 0}, {1, 2, 1}},
                  {"数据库原理 (1/2)", "数据库原理 (2/2)", "k0002 (1/1)"}},
        LabelCase{"by class", true, {{1, 0, 0}, {1, 1, 1}, {1, 2, 2}},
                  {"数据库原理 计科2201 (1/1)", "数据库原理 计科2202 (1/1)", "k0002 计科2201 (1/1)"}},
        LabelCase{"a group the book no longer has", false, {{1, 0, 7}}, {""}},
        LabelCase{"no pages", false, {}, {}}));

}  // namespace
