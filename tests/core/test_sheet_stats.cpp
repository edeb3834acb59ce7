// The closing block: weighting figures, students due, bands, average, failure rate.
#include <gtest/gtest.h>

#include <ostream>

#include "grading/Numbers.h"
#include "printing/RecordingCanvas.h"
#include "test_sheet_fixture.h"

using namespace sheet_test;

namespace {

struct StatsCase {
  const char* Name;
  std::vector<std::string> Totals;
  std::array<const char*, 5> Bands;
  const char* Average;
  const char* FailureRate;
};
void PrintTo(const StatsCase& c, std::ostream* os) { *os << c.Name; }

std::vector<std::string> FortyAndOne(const char* forty, const char* one) {
  std::vector<std::string> totals(40, forty);
  totals.push_back(one);
  return totals;
}

class SheetStats : public ::testing::TestWithParam<StatsCase> {};

TEST_P(SheetStats, FiguresAsTheSheetPrintsThem) {
  const StatsCase& c = GetParam();
  Sheet sheet;
  sheet.AddCourse("C0001", static_cast<int>(c.Totals.size()), c.Totals);
  sheet.Layout();
  TGroupFigures f;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, f));
  for (std::size_t b = 0; b < 5; ++b) EXPECT_EQ(f.Bands[b], c.Bands[b]) << "band " << b + 1;
  EXPECT_EQ(f.Average, c.Average);
  EXPECT_EQ(f.FailureRate, c.FailureRate);
  EXPECT_EQ(f.Due, FormatInt(static_cast<std::int64_t>(c.Totals.size()), 4));
}

INSTANTIATE_TEST_SUITE_P(
    Totals, SheetStats,
    ::testing::Values(
        StatsCase{"mixed", {"95", "85", "72", "65", "40", "作弊"}, {"   1", "   1", "   1", "   1", "   2"}, " 59.50", " 33.33"},
        StatsCase{"halfup", {"100", "100", "100", "100", "100", "100", "100", "25"},
                  {"   7", "   0", "   0", "   0", "   1"}, " 90.63", " 12.50"},
        StatsCase{"average78125", {"100", "100", "100", "100", "100", "100", "25", "0"},
                  {"   6", "   0", "   0", "   0", "   2"}, " 78.13", " 25.00"},
        StatsCase{"halves", {"59.5", "89.5", "60.5"}, {"   1", "   0", "   0", "   2", "   0"}, " 70.00", "  0.00"},
        StatsCase{"over100", {"101", "100"}, {"   1", "   0", "   0", "   0", "   1"}, "100.50", " 50.00"},
        StatsCase{"absent", {"88", "缺考", ""}, {"   0", "   1", "   0", "   0", "   0"}, " 88.00", "  0.00"},
        StatsCase{"level", {"95", "优", "70"}, {"", "", "", "", ""}, "", ""},
        StatsCase{"levelLetter", {"a"}, {"", "", "", "", ""}, "", ""},
        StatsCase{"nobody", {"缺考", "缓考"}, {"   0", "   0", "   0", "   0", "   0"}, "", ""},
        StatsCase{"empty", {}, {"   0", "   0", "   0", "   0", "   0"}, "", ""},
        StatsCase{"fullwidth", {"９５", "６０"}, {"   1", "   0", "   0", "   1", "   0"}, " 77.50", "  0.00"},
        // Quotients that are not halves round to the nearer hundredth, up
        // as well as down: 1 of 41 fails (2.439 %), 3650 / 41 = 89.024.
        StatsCase{"oneOf41Fails", FortyAndOne("90", "50"), {"  40", "   0", "   0", "   0", "   1"}, " 89.02", "  2.44"},
        StatsCase{"twoOf3Fail", {"59", "0", "100"}, {"   1", "   0", "   0", "   0", "   2"}, " 53.00", " 66.67"},
        StatsCase{"averageUp", {"100", "100", "99"}, {"   3", "   0", "   0", "   0", "   0"}, " 99.67", "  0.00"},
        StatsCase{"averageUpRateDown", {"89", "90", "90", "40", "40", "40", "40"},
                  {"   2", "   1", "   0", "   0", "   4"}, " 61.29", " 57.14"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct ShareCase {
  const char* Name;
  const char* Share;  // nullptr: no "t9" line
  const char* Coursework;
  const char* Examination;
};
void PrintTo(const ShareCase& c, std::ostream* os) { *os << c.Name; }

class SheetShares : public ::testing::TestWithParam<ShareCase> {};

TEST_P(SheetShares, WeightingFiguresHaveNoDecimalsAndRoundHalfAway) {
  const ShareCase& c = GetParam();
  Sheet sheet;
  sheet.AddCourse("C0001", 1);
  if (c.Share) sheet.Book.HeadLines.push_back(Head("C0001", "t9", c.Share));
  sheet.Layout();
  TGroupFigures f;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, f));
  EXPECT_EQ(f.Coursework, c.Coursework);
  EXPECT_EQ(f.Examination, c.Examination);
}

INSTANTIATE_TEST_SUITE_P(Shares, SheetShares,
                         ::testing::Values(ShareCase{"thirty", "30", " 30", " 70"},
                                           ShareCase{"hundred", "100", "100", "  0"},
                                           ShareCase{"half", "33.5", " 34", " 67"},
                                           ShareCase{"padded", "  25  ", " 25", " 75"},
                                           ShareCase{"zero", "0", "", ""},
                                           ShareCase{"emptyShare", "", "", ""},
                                           ShareCase{"word", "abc", "", ""},
                                           ShareCase{"negative", "-5", "", ""},
                                           ShareCase{"missing", nullptr, "", ""}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SheetStatsBlock, FiguresAreDrawnAtTheirColumnsAndBlanksStayEmpty) {
  Sheet sheet;
  sheet.AddCourse("C0001", 6, {"95", "85", "72", "65", "40", "作弊"});
  sheet.Book.HeadLines.push_back(Head("C0001", "t9", "30"));
  sheet.Layout();
  RecordingCanvas canvas(600);
  sheet.Printer.DrawPage(canvas, 1, DevicePrinter, 1.0);
  auto at = [&](const std::string& text, int column, int line) {
    for (const CanvasOp* op : canvas.Texts())
      if (op->Gbk == text && op->X1 == 197 + 50 * column && op->Y1 == 394 + 100 * line + 50) return true;
    return false;
  };
  EXPECT_TRUE(at(" 30", 15, 54));
  EXPECT_TRUE(at(" 70", 37, 54));
  EXPECT_TRUE(at("   6", 58, 54));
  EXPECT_TRUE(at("   2", 22, 65));
  EXPECT_TRUE(at(" 59.50", 22, 67));
  EXPECT_TRUE(at(" 33.33", 22, 69));
  EXPECT_TRUE(at(Gbk("不及格率： 　　　　％"), 10, 69));
  EXPECT_TRUE(at(Gbk("教学主任签字："), 60, 63));
  // The signature rules run from column 74 to 97, 2 px below their line.
  int signatureRules = 0;
  for (const CanvasOp* line : canvas.Lines())
    signatureRules += line->X1 == 197 + 50 * 74 && line->X2 == 197 + 50 * 97;
  EXPECT_EQ(signatureRules, 5);
  // The lowest drawing of the page.
  int lowest = 0;
  for (const CanvasOp& op : canvas.Ops)
    if (op.Op == CanvasOp::Line) lowest = std::max({lowest, op.Y1, op.Y2});
  EXPECT_EQ(lowest, 394 + 7100 - 50 + 2);
}

TEST(SheetStatsBlock, ALevelBlanksTheStatisticsButNotTheWeightingOrTheStudentsDue) {
  Sheet sheet;
  sheet.AddCourse("C0001", 3, {"95", "优", "70"});
  sheet.Book.HeadLines.push_back(Head("C0001", "t9", "40"));
  sheet.Layout();
  RecordingCanvas canvas(600);
  sheet.Printer.DrawPage(canvas, 1, DevicePrinter, 1.0);
  for (const CanvasOp* op : canvas.Texts()) {
    if (op->Y1 > 394 + 100 * 54) {
      EXPECT_NE(op->X1, 197 + 50 * 22) << op->Gbk;
    }
  }
  EXPECT_NE(canvas.FindText(" 40"), nullptr);
  EXPECT_NE(canvas.FindText("   3"), nullptr);
}

TEST(SheetStatsBlock, SplitSheetCountsOnlyThePageClassWholeSheetTheCourse) {
  Sheet sheet;
  sheet.Book.HeadLines.push_back(Head("C0001", "tk", "x"));
  sheet.Book.GradeLines = {Record("C0001", "1", "a", "A", "", "", "95"),
                           Record("C0001", "2", "b", "B", "", "", "50"),
                           Record("C0001", "3", "c", "A", "", "", "85")};
  sheet.Kind = SheetKind::ByClass;
  sheet.Layout();
  TGroupFigures a, b;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, a));
  ASSERT_TRUE(sheet.Printer.PageFigures(2, b));
  EXPECT_EQ(a.ClassCode, Pad("A", 8));
  EXPECT_EQ(a.Due, "   2");
  EXPECT_EQ(a.Average, " 90.00");
  EXPECT_EQ(b.Due, "   1");
  EXPECT_EQ(b.FailureRate, "100.00");
  sheet.Kind = SheetKind::WholeCourse;
  sheet.Printer.MakePages();
  TGroupFigures whole;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, whole));
  EXPECT_EQ(whole.ClassCode, "");
  EXPECT_EQ(whole.Average, " 76.67");
}

TEST(SheetStatsBlock, EveryPageOfAGroupShowsTheGroupsFigures) {
  Sheet sheet;
  sheet.AddCourse("C0001", 85, {"91", "55", "77"});
  sheet.AddCourse("C0002", 2, {"60"});
  sheet.Layout();
  ASSERT_EQ(sheet.Pages.size(), 4u);
  TGroupFigures first;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, first));
  EXPECT_EQ(first.GroupPages, 3);
  for (int page = 2; page <= 3; ++page) {
    TGroupFigures f;
    ASSERT_TRUE(sheet.Printer.PageFigures(static_cast<std::uint16_t>(page), f));
    EXPECT_EQ(f.Bands, first.Bands);
    EXPECT_EQ(f.Average, first.Average);
  }
  EXPECT_EQ(first.Bands[0], "  29");
  TGroupFigures other;
  ASSERT_TRUE(sheet.Printer.PageFigures(4, other));
  EXPECT_EQ(other.Bands[3], "   2");
  EXPECT_FALSE(sheet.Printer.PageFigures(5, other));
  EXPECT_FALSE(sheet.Printer.PageFigures(0, other));
}

TEST(SheetStatsBlock, LargeScoresDoNotWrapTheSum) {
  Sheet sheet;
  sheet.AddCourse("C0001", 3000, {"999999"});
  sheet.Layout();
  TGroupFigures f;
  ASSERT_TRUE(sheet.Printer.PageFigures(1, f));
  EXPECT_EQ(f.Average, "999999.00");
  EXPECT_EQ(f.FailureRate, "100.00");
}

}  // namespace
