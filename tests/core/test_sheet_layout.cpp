// Where the sheet puts its texts and rules, through the recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "printing/RecordingCanvas.h"
#include "printing/TextCanvas.h"
#include "test_sheet_fixture.h"
#include "text/Blanks.h"

using namespace sheet_test;

namespace {

// Grid positions at scale 1 with TestMetrics.
constexpr int X(int column) { return 197 + 50 * column; }
constexpr int Y(int line) { return 394 + 100 * line + 50; }
constexpr int Quarter = 12;

class SheetLayout : public ::testing::Test {
 protected:
  Sheet sheet;
  RecordingCanvas canvas{600};

  void Draw(int page, double scale = 1.0, int device = DevicePrinter) {
    canvas.Ops.clear();
    sheet.Printer.DrawPage(canvas, static_cast<std::uint16_t>(page),
                           static_cast<std::uint16_t>(device), scale);
  }
  const CanvasOp& Text(std::string_view utf8) {
    const CanvasOp* op = canvas.FindText(Gbk(utf8));
    if (!op) throw std::runtime_error("text not drawn: " + std::string(utf8));
    return *op;
  }
};

TEST_F(SheetLayout, DefaultTitleIsCentredInTheTitleFontAndTheTermLineInTheBodyFont) {
  sheet.AddCourse("C0001", 1);
  sheet.Layout();
  Draw(1);
  const CanvasOp& title = Text("学生考试(考查)成绩表");
  // 16 pt at 600 dpi is 133 px: 66 px a byte, 20 bytes.
  EXPECT_EQ(title.Points, 16);
  EXPECT_EQ(title.Font.Style, fsBold | fsUnderline);
  EXPECT_EQ(title.X1, 197 + (101 * 50 - 20 * 66) / 2);
  EXPECT_EQ(title.Y1, 394 + 2);
  const CanvasOp& term = Text("     年度第   学期");
  EXPECT_EQ(term.Points, 10);
  EXPECT_EQ(term.X1, 197 + (101 * 50 - 18 * 41) / 2);
  EXPECT_EQ(term.Y1, Y(2));
}

TEST_F(SheetLayout, TitleIsTrimmedTheTermLineIsNot) {
  sheet.AddCourse("C0001", 1);
  sheet.Book.HeadLines.push_back(Head("C0001", "t0", "  期末成绩表  "));
  sheet.Book.HeadLines.push_back(Head("C0001", "t1", "  2025-2026年度第 1 学期 "));
  sheet.Layout();
  Draw(1);
  const CanvasOp& title = Text("期末成绩表");
  EXPECT_EQ(title.X1, 197 + (5050 - 10 * 66) / 2);
  const CanvasOp& term = Text("  2025-2026年度第 1 学期 ");
  EXPECT_EQ(term.X1, 197 + (5050 - 25 * 41) / 2);
}

TEST_F(SheetLayout, TitleWiderThanTheSheetStartsAtTheMargin) {
  sheet.AddCourse("C0001", 1);
  sheet.Book.HeadLines.push_back(Head("C0001", "t0", std::string(90, 'W')));
  sheet.Layout();
  Draw(1);
  EXPECT_EQ(Text(std::string(90, 'W')).X1, 197);
}

TEST_F(SheetLayout, HeadingFieldsStandAtTheirColumnsWithUnderlines) {
  sheet.Book.HeadLines = {Head("C0001", "tk", " 高等数学 "), Head("C0001", "tj", "王老师"),
                          Head("C0001", "tb", "计算机2401"), Head("C0001", "tf", "软件工程"),
                          Head("C0001", "ty", "信息学院"), Head("C0001", "tr", "41")};
  sheet.Book.GradeLines.push_back(Record("C0001", "1", "a", "c", "", "", ""));
  sheet.Layout();
  Draw(1);
  struct Where {
    const char* Text;
    int Column, Line;
  } expected[] = {{"课程", 2, 4},      {"高等数学", 7, 4}, {"周学时", 68, 4},  {"编  号", 86, 4},
                  {"王老师", 7, 6},    {"开课院系", 18, 6}, {"上课班级", 60, 6}, {"计算机2401", 69, 6},
                  {"软件工程", 27, 8}, {"信息学院", 69, 8}, {"41", 7, 8},        {"院系", 64, 8}};
  for (const Where& w : expected) {
    const CanvasOp& op = Text(w.Text);
    EXPECT_EQ(op.X1, X(w.Column)) << w.Text;
    EXPECT_EQ(op.Y1, Y(w.Line)) << w.Text;
  }
  // The underline of "课程": 2 px below line 5, columns 6 to 36.
  bool found = false;
  for (const CanvasOp* line : canvas.Lines())
    found = found || (line->X1 == X(6) && line->X2 == X(36) && line->Y1 == 394 + 600 - 50 + 2 &&
                      line->Y2 == line->Y1);
  EXPECT_TRUE(found);
}

TEST_F(SheetLayout, TableRulesAndHeadings) {
  sheet.AddCourse("C0001", 1);
  sheet.Layout();
  Draw(1);
  const int top = 394 + 1100 - 50, bottom = 394 + 5300 + 50;
  std::vector<int> verticals, horizontals;
  for (const CanvasOp* line : canvas.Lines()) {
    if (line->X1 == line->X2 && line->Y1 == top && line->Y2 == bottom) verticals.push_back(line->X1);
    if (line->Y1 == line->Y2 && line->X1 == 197 + Quarter && line->X2 == X(101) + Quarter)
      horizontals.push_back(line->Y1);
  }
  std::vector<int> columns;
  for (int b : {0, 51})
    for (int c : {0, 11, 20, 29, 36, 43, 50}) columns.push_back(X(b + c) + Quarter);
  EXPECT_EQ(verticals, columns);
  ASSERT_EQ(horizontals.size(), 22u);
  EXPECT_EQ(horizontals[0], top);
  EXPECT_EQ(horizontals[1], bottom);
  EXPECT_EQ(horizontals[2], 394 + 1300 + 50);
  EXPECT_EQ(horizontals[21], 394 + 5100 + 50);  // above the last row

  EXPECT_EQ(Text("学　号").X1, X(3));
  EXPECT_EQ(Text("学　号").Y1, Y(11));
  EXPECT_EQ(Text("平  时").X1, X(30));
  EXPECT_EQ(Text("平  时").Y1, 394 + 1100);
  int grades = 0;
  for (const CanvasOp* t : canvas.Texts())
    if (t->Gbk == Gbk("成  绩")) {
      EXPECT_EQ(t->Y1, 394 + 1200);
      ++grades;
    }
  EXPECT_EQ(grades, 6);
}

struct GradeCentring {
  const char* Grade;
  int Offset;
};
void PrintTo(const GradeCentring& c, std::ostream* os) { *os << '"' << c.Grade << '"'; }

class SheetGradeCentring : public SheetLayout,
                           public ::testing::WithParamInterface<GradeCentring> {};

TEST_P(SheetGradeCentring, TrimmedGradeIsCentredInItsSixColumns) {
  const GradeCentring& c = GetParam();
  sheet.Book.HeadLines.push_back(Head("C0001", "tk", "x"));
  sheet.Book.GradeLines.push_back(Record("C0001", "2024001", "张三", "一班", c.Grade, "", ""));
  sheet.Layout();
  Draw(1);
  std::string grade = Gbk(c.Grade);
  while (!grade.empty() && grade.front() == ' ') grade.erase(0, 1);
  while (!grade.empty() && grade.back() == ' ') grade.pop_back();
  const CanvasOp* op = canvas.FindText(grade);
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->X1, X(30 + c.Offset));
  EXPECT_EQ(op->Y1, 394 + 1400);
}

INSTANTIATE_TEST_SUITE_P(Grades, SheetGradeCentring,
                         ::testing::Values(GradeCentring{"优", 2}, GradeCentring{"100", 1},
                                           GradeCentring{"不及格", 0}, GradeCentring{" 85", 2},
                                           GradeCentring{"5", 2}));

TEST_F(SheetLayout, StudentFieldsUntrimmedAndTheSecondHalfFromRowTwentyOne) {
  sheet.AddCourse("C0001", 41);
  sheet.Layout();
  Draw(1);
  // Row 21 of the page: first row of the right half.
  const std::string number21 = Pad("C000121", 10);
  const CanvasOp* op = canvas.FindText(number21);
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->X1, X(51 + 1));
  EXPECT_EQ(op->Y1, 394 + 1400);
  const CanvasOp* name = canvas.FindText(Pad(Gbk("张三"), 8));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->X1, X(12));

  Draw(2);
  const CanvasOp* alone = canvas.FindText(Pad("C000141", 10));
  ASSERT_NE(alone, nullptr);
  EXPECT_EQ(alone->X1, X(1));
  EXPECT_EQ(alone->Y1, 394 + 1400);
  EXPECT_EQ(canvas.FindText(Pad("C00011", 10)), nullptr);
  // Same heading on both pages.
  EXPECT_NE(canvas.FindText(Gbk("课程C0001")), nullptr);
}

TEST_F(SheetLayout, ScaleTwoDoublesEverythingButTheTwoPixelOffsets) {
  sheet.AddCourse("C0001", 3, {"88"});
  sheet.Book.HeadLines.push_back(Head("C0001", "t9", "30"));
  sheet.Layout();
  Draw(1, 1.0);
  const std::vector<CanvasOp> one = canvas.Ops;
  Draw(1, 2.0);
  const std::vector<CanvasOp> two = canvas.Ops;
  ASSERT_EQ(one.size(), two.size());
  int texts = 0;
  for (std::size_t i = 0; i < one.size(); ++i) {
    const CanvasOp& a = one[i];
    const CanvasOp& b = two[i];
    ASSERT_EQ(a.Op, b.Op) << i;
    if (a.Op == CanvasOp::SetFont) {
      EXPECT_EQ(b.Points, 2 * a.Points);
    } else if (a.Op == CanvasOp::Text) {
      // The title (y = FTop + 2) and the term line are centred on their
      // measured width, which follows whole points, not the scale.
      if (++texts == 1) {
        EXPECT_EQ(b.Y1, 2 * 394 + 2);
        continue;
      }
      if (texts == 2) {
        EXPECT_EQ(b.Y1, 2 * a.Y1);
        continue;
      }
      EXPECT_EQ(b.X1, 2 * a.X1) << i;
      EXPECT_EQ(b.Y1, 2 * a.Y1) << i;
    } else if (a.Op == CanvasOp::Line) {
      EXPECT_EQ(b.X1, 2 * a.X1) << i;
      EXPECT_EQ(b.X2, 2 * a.X2) << i;
      // Underlines keep their 2 px below the text; table rules double.
      const bool underline = (a.Y1 - 394 + 50 - 2) % 100 == 0;
      EXPECT_EQ(b.Y1, underline ? 2 * (a.Y1 - 2) + 2 : 2 * a.Y1) << i;
    }
  }
}

TEST_F(SheetLayout, ScreenEntryAddsTheCallerScaleToItsOwnMetrics) {
  sheet.AddCourse("C0001", 1);
  sheet.Setup.Metrics[DeviceScreen].MarginLeft = 31;
  sheet.Setup.Metrics[DeviceScreen].CharWidth = 7;
  sheet.Layout();
  Draw(1, 1.25, DeviceScreen);
  EXPECT_EQ(sheet.Printer.FLeft, 39);       // Round(38.75)
  EXPECT_EQ(sheet.Printer.FCharWidth, 9);   // Round(8.75)
  EXPECT_EQ(Text("课程").X1, 39 + 2 * 9);
}

TEST_F(SheetLayout, NothingIsDrawnForAPageOutOfRangeOrABadScale) {
  sheet.AddCourse("C0001", 1);
  sheet.Layout();
  for (int page : {0, 2, 65535}) {
    Draw(page);
    EXPECT_TRUE(canvas.Ops.empty()) << page;
  }
  Draw(1, 0.0);
  EXPECT_TRUE(canvas.Ops.empty());
  Draw(1, 1.0, 2);
  EXPECT_TRUE(canvas.Ops.empty());
}

TEST_F(SheetLayout, AStaleLayoutDrawsOnlyWhatStillExists) {
  sheet.AddCourse("C0001", 30);
  sheet.Layout();
  sheet.Book.GradeLines.resize(5);
  sheet.Book.CourseKeys.clear();
  Draw(1);  // the group is gone: nothing to draw, and no crash
  EXPECT_TRUE(canvas.Ops.empty());
  sheet.Book.BuildCourseList();
  Draw(1);
  int numbers = 0;
  for (const CanvasOp* t : canvas.Texts()) numbers += t->Gbk.rfind("C0001", 0) == 0;
  EXPECT_EQ(numbers, 5);
}

// Header texts far wider than the page: drawn only as far as the page can
// show them, cut between characters, at the place the whole text would take.
struct CutCase {
  const char* Name;
  const char* Tag;
  std::string Value;     // the header line's payload
  int Column;            // where the text starts; -1: at the left margin (centred)
  std::int32_t PageWidth;
  bool Cut;
};
void PrintTo(const CutCase& c, std::ostream* os) { *os << c.Name; }

// By doubling: these values are built when every test process starts, and
// millions of small appends cost a second each time in the sanitizer build.
std::string Repeat(std::string_view piece, std::size_t times) {
  const std::size_t size = piece.size() * times;
  std::string out;
  out.reserve(size);
  if (times > 0) out = piece;
  while (out.size() < size) out.append(out, 0, std::min(out.size(), size - out.size()));
  return out;
}

class SheetCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(SheetCut, HugeHeaderTextsAreCutPastThePageEdge) {
  const CutCase& c = GetParam();
  Sheet sheet;
  sheet.Setup.Metrics[DevicePrinter].PageWidth = c.PageWidth;
  sheet.Book.HeadLines.push_back(Head("C0001", c.Tag, ""));
  sheet.Book.HeadLines.back() += c.Value;
  sheet.Layout();
  RecordingCanvas canvas(600);
  sheet.Printer.DrawPage(canvas, 1, DevicePrinter, 1.0);

  const std::string_view value = c.Tag == std::string_view("t1") ? c.Value : TrimmedBlanks(c.Value);
  const int x = c.Column < 0 ? 197 : 197 + 50 * c.Column;
  const CanvasOp* drawn = nullptr;
  for (const CanvasOp* op : canvas.Texts())
    if (op->X1 == x && !op->Gbk.empty() && value.substr(0, op->Gbk.size()) == op->Gbk) drawn = op;
  ASSERT_NE(drawn, nullptr);
  if (!c.Cut) {
    EXPECT_EQ(drawn->Gbk.size(), value.size());
    return;
  }
  EXPECT_LT(drawn->Gbk.size(), 64u * 1024);
  EXPECT_EQ(GbkToUtf8(drawn->Gbk).find("\xEF\xBF\xBD"), std::string::npos) << "a character cut in half";
  // Even cut, the text reaches past the page's right edge.
  RecordingCanvas measure(600);
  measure.SetFont(drawn->Font, drawn->Points);
  EXPECT_GT(x + measure.TextWidth(drawn->Gbk), c.PageWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SheetCut,
    ::testing::Values(
        CutCase{"hugeTitle", "t0", "  " + Repeat(Gbk("中"), 2500000), -1, 4960, true},
        CutCase{"hugeTitleOddStart", "t0", "A" + Repeat(Gbk("中"), 2500000), -1, 4960, true},
        CutCase{"hugeTerm", "t1", Repeat(Gbk("年"), 2500000), -1, 4960, true},
        CutCase{"hugeCourseName", "tk", Repeat("x", 5000000), 7, 4960, true},
        CutCase{"hugeClasses", "tb", "B" + Repeat(Gbk("班"), 500000), 69, 4960, true},
        CutCase{"wideShortTitle", "t0", Repeat(Gbk("中"), 200), -1, 4960, false},
        CutCase{"longTitleOnAWidePage", "t0", Repeat("x", 100000), -1, 10000000, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SheetText, AHugeHeaderValueShowsOnTheGridAsBefore) {
  auto page = [](const std::string& name) {
    Sheet sheet;
    TextCanvas::UseGrid(sheet.Setup);
    sheet.Book.HeadLines = {Head("C0001", "tk", "") + name};
    sheet.Layout();
    TextCanvas canvas;
    sheet.Printer.DrawPage(canvas, 1, DevicePrinter, 1.0);
    return canvas.Render();
  };
  const std::string huge = Repeat("0123456789", 500000);
  // The grid ends at column 1000; the value starts at column 7.
  EXPECT_EQ(page(huge), page(huge.substr(0, 993)));
}

TEST(SheetText, PageOnTheTextGridReadsLikeTheForm) {
  Sheet sheet;
  TextCanvas::UseGrid(sheet.Setup);
  sheet.Book.HeadLines = {Head("C0001", "tk", "高等数学"), Head("C0001", "t9", "30")};
  sheet.Book.GradeLines = {Record("C0001", "2024001", "张三", "计科1", "90", "80", " 83")};
  sheet.Layout();
  TextCanvas canvas;
  sheet.Printer.DrawPage(canvas, 1, DevicePrinter, 1.0);
  const std::vector<std::string> rows = canvas.Rows();
  auto row = [&](int line) { return rows.at(static_cast<std::size_t>(line * 4 + 2)); };
  EXPECT_EQ(row(0), std::string(40, ' ') + Gbk("学生考试(考查)成绩表"));
  EXPECT_EQ(row(4).substr(2, 13), Gbk("课程 高等数学"));
  // Underline of 课程 from column 6 to 36, 2 rows below the line's bottom.
  EXPECT_EQ(rows.at(4 * 6).substr(6, 31), std::string(31, '-'));
  // The first student row: rules, number, name, class, grades centred.
  const std::string first = rows.at(14 * 4);
  EXPECT_EQ(first.substr(0, 30),
            "|" + Pad("2024001", 10) + "|" + Pad(Gbk("张三"), 8) + "|" + Pad(Gbk("计科1"), 8) + "|");
  EXPECT_EQ(first.substr(29, 22), "|  90  |  80  |  83  |");
  EXPECT_EQ(canvas.At(51, 14 * 4), '|');
  // Rules cross where the table's borders meet.
  EXPECT_EQ(canvas.At(0, 11 * 4 - 2), '+');
  EXPECT_EQ(canvas.At(101, 53 * 4 + 2), '+');
  // The share overwrites half of a full-width blank; the other half is blanked.
  EXPECT_EQ(row(54).substr(3, 20), Gbk("平时成绩占　") + " 30 " + Gbk("％，"));
}

TEST(TextCanvasGrid, RulesTextAndDoubleByteCharacters) {
  TextCanvas canvas;
  canvas.TextOut(2, 1, "ab");
  canvas.Line(0, 1, 5, 1);  // never over text
  canvas.Line(4, 0, 4, 2);  // crossing the horizontal rule
  EXPECT_EQ(canvas.Rows()[1], "--ab+-");
  EXPECT_EQ(canvas.At(4, 0), '|');

  const std::string wide = Gbk("成绩");
  canvas.TextOut(10, 3, wide);
  canvas.TextOut(11, 3, "7");  // over the second half of 成 and ...
  EXPECT_EQ(canvas.Rows()[3], std::string(10, ' ') + " 7" + wide.substr(2));
  canvas.TextOut(12, 3, "9");  // ... over the first half of 绩
  EXPECT_EQ(canvas.Rows()[3], std::string(10, ' ') + " 79");
  canvas.TextOut(0, 5, std::string("a\tb\x7f", 4));
  EXPECT_EQ(canvas.Rows()[5], "a?b?");

  canvas.SetPenStyle(PenStyle::Clear);
  canvas.Line(0, 7, 9, 7);
  EXPECT_EQ(canvas.Rows().size(), 6u);
  canvas.TextOut(-3, 8, "abcd");  // cut at the left edge, no wrap
  EXPECT_EQ(canvas.Rows()[8], "d");
  canvas.TextOut(5, -1, "x");
  canvas.TextOut(100000, 2, "x");
  EXPECT_EQ(canvas.Rows().size(), 9u);
}

// A damaged line can hold a lead byte followed by no trail byte: the lead
// stands alone and the control byte after it still shows as '?', so no
// control byte reaches the terminal.
TEST(TextCanvasGrid, ALeadByteWithoutATrailByteStandsAlone) {
  const struct {
    std::string Drawn, Shown;
  } cases[] = {
      {"\xca\xfd", "\xca\xfd"},
      {std::string("\xca\x00x", 3), "\xca?x"},
      {"\xca\x1b[2J", "\xca?[2J"},
      {"\xca\x7f\xca", "\xca?\xca"},
      {"\xca\x31\xb3\xc9", "\xca" "1\xb3\xc9"},
  };
  for (const auto& c : cases) {
    TextCanvas canvas;
    canvas.TextOut(0, 0, c.Drawn);
    EXPECT_EQ(canvas.Rows()[0], c.Shown);
  }
}

TEST(TextCanvasGrid, CompactRenderingKeepsTextRulesAndOneRowPerEmptyBand) {
  TextCanvas canvas;
  canvas.Line(0, 0, 4, 0);
  for (int x : {0, 4}) canvas.Line(x, 0, x, 8);
  canvas.Line(0, 4, 4, 4);
  canvas.Line(0, 8, 4, 8);
  canvas.TextOut(1, 2, "ab");  // the first band holds text, the second none
  EXPECT_EQ(canvas.Render(), "+---+\n|ab |\n+---+\n|   |\n+---+\n");
  EXPECT_EQ(canvas.Render(false).size(), 9u * 6u);  // every row, 5 columns each
}

}  // namespace
