// The analysis page on the recording canvas: what it writes and where.
// At 254 dpi a millimetre is 10 pixels, so positions read as tenths of a mm.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/AnalysisPage.h"
#include "printing/RecordingCanvas.h"
#include "test_sheet_fixture.h"

namespace {

using sheet_test::Head;
using sheet_test::Record;

GradeBook CourseBook(bool levels) {
  GradeBook book;
  book.HeadLines = {Head("00001", "tk", "高等数学"), Head("00001", "tj", "陈建华"),
                    Head("00001", "tb", "计科2301,计科2302"), Head("00001", "t1", "2023-2024学年度第一学期"),
                    Head("00001", "t9", "30")};
  const char* rows[][4] = {{"计科2301", "80", "75", "92"}, {"计科2302", "70", "72", "81"},
                           {"计科2301", "90", "88", "85"}, {"计科2302", "60", "50", "55"},
                           {"计科2301", "85", "91", levels ? "优" : "缺考"}};
  int n = 0;
  for (const auto& r : rows) book.GradeLines.push_back(Record("00001", std::to_string(++n), "王五", r[0], r[1], r[2], r[3]));
  book.BuildCourseList();
  return book;
}

struct Drawn {
  RecordingCanvas Canvas{254};
  CourseAnalysis Course;
  explicit Drawn(bool levels) {
    Course = AnalyseCourses(CourseBook(levels)).at(0);
    AnalysisPaper paper;
    paper.Dpi = 254;
    paper.Font.Name = Gbk("宋体");
    DrawAnalysisPage(Canvas, Course, paper);
  }
  const CanvasOp& Text(const char* utf8) const {
    const CanvasOp* op = Canvas.FindText(Gbk(utf8));
    if (!op) throw std::runtime_error(std::string("not drawn: ") + utf8);
    return *op;
  }
  int Centre(const CanvasOp& op) const { return op.X1 + static_cast<int>(op.Gbk.size()) * (op.Points * 254 / 72 / 2) / 2; }
};

TEST(AnalysisPage, HeadingFiguresAndTablesInTheirPlaces) {
  const Drawn page(false);
  const CanvasOp& title = page.Text("课程成绩分析");
  EXPECT_NEAR(page.Centre(title), 1050, 10);  // centred on the A4 page
  EXPECT_EQ(title.Font.Style, fsBold);
  EXPECT_EQ(title.Points, 18);
  EXPECT_EQ(page.Text("课程：高等数学").X1, 200);
  EXPECT_EQ(page.Text("教师：陈建华").Y1, page.Text("课程：高等数学").Y1);
  EXPECT_EQ(page.Text("学期：2023-2024学年度第一学期").X1, 200);
  page.Text("课程号：00001    平时成绩比例：30%");

  // Each figure's value under its label, in the same column: whole course
  // of 4 scores (92 81 85 55) and one 缺考.
  const std::pair<const char*, const char*> figures[] = {
      {"人数", "5"}, {"计分人数", "4"}, {"缺考等未计", "1"}, {"平均分", "78.25"}, {"中位数", "83.00"},
      {"标准差", "16.15"}, {"最高分", "92"}, {"最低分", "55"}, {"及格率", "75.00%"}, {"优秀率", "25.00%"},
      {"相关系数", "0.95"}};
  for (const auto& [label, value] : figures) {
    SCOPED_TRACE(label);
    const CanvasOp& l = page.Text(label);
    const CanvasOp* v = nullptr;
    for (const CanvasOp* op : page.Canvas.Texts())
      if (op->Gbk == value && op->Y1 > l.Y1 && op->Y1 < l.Y1 + 100) v = op;
    ASSERT_NE(v, nullptr);
    EXPECT_NEAR(page.Centre(*v), page.Centre(l), 20);
    EXPECT_EQ(v->Y1 - l.Y1, 60);  // the next row of the grid
  }

  // The band table: each band's count and percent on its row.
  const char* bands[][3] = {{"90-100", "1", "25.00%"}, {"80-89", "2", "50.00%"}, {"60以下", "1", "25.00%"}};
  for (const auto& b : bands) {
    SCOPED_TRACE(b[0]);
    const CanvasOp& name = page.Text(b[0]);
    int found = 0;
    for (const CanvasOp* op : page.Canvas.Texts())
      if (op->Y1 == name.Y1 && (op->Gbk == b[1] || op->Gbk == b[2]) && op->X1 > name.X1 && op->X1 < 880) ++found;
    EXPECT_EQ(found, 2);
  }

  // The classes side by side in the split sheet's order, the course's whole last.
  const int first = page.Text("计科2301").Y1, second = page.Text("计科2302").Y1, whole = page.Text("合计").Y1;
  EXPECT_LT(first, second);
  EXPECT_LT(second, whole);
  EXPECT_GT(first, page.Text("四、各班级对比").Y1);
  page.Text("本课程无等级制成绩。");
  page.Text("相关系数 r = 0.95");
}

TEST(AnalysisPage, LevelsAndMarksAndThePageEdge) {
  const Drawn page(true);
  const CanvasOp& title = page.Text("等级制成绩人数");
  const CanvasOp& excellent = page.Text("优/A");
  EXPECT_GT(excellent.Y1, title.Y1);
  EXPECT_EQ(page.Canvas.FindText(Gbk("本课程无等级制成绩。")), nullptr);

  // Everything lies on the page, inside 10 mm of paper at every edge.
  for (const CanvasOp& op : page.Canvas.Ops) {
    if (op.Op == CanvasOp::SetFont || op.Op == CanvasOp::Pen) continue;
    EXPECT_GE(std::min(op.X1, op.Op == CanvasOp::Text ? op.X1 : op.X2), 100);
    EXPECT_LE(std::max(op.X1, op.X2), 2000);
    EXPECT_GE(op.Y1, 100);
    EXPECT_LE(std::max(op.Y1, op.Y2), 2870);
  }
  // Five students, each with a mark of two crossing strokes in the scatter
  // (its frame runs from 340 to 940 across and 2450 to 2810 down).
  int strokes = 0;
  for (const CanvasOp* op : page.Canvas.Lines())
    if (op->X1 != op->X2 && op->Y1 != op->Y2 && op->X1 > 330 && op->X2 < 950 && op->Y1 > 2390) ++strokes;
  EXPECT_EQ(strokes, 10);
}

TEST(AnalysisPage, ManyClassesAndALongClassesLineStayInTheirRoom) {
  GradeBook book;
  std::string classes;
  for (int k = 0; k < 60; ++k) classes += "计科23" + std::to_string(10 + k) + ",";
  book.HeadLines = {Head("00001", "tk", "高等数学"), Head("00001", "tb", classes)};
  for (int k = 0; k < 12; ++k)
    book.GradeLines.push_back(Record("00001", std::to_string(k), "王五", "班" + std::to_string(k), "", "", "70"));
  book.BuildCourseList();
  RecordingCanvas canvas(254);
  AnalysisPaper paper;
  paper.Dpi = 254;
  DrawAnalysisPage(canvas, AnalyseCourses(book).at(0), paper);

  // Rows of at least 4.2 mm in the table's 36 mm: 6 classes and the whole.
  EXPECT_NE(canvas.FindText(Gbk("班5")), nullptr);
  EXPECT_EQ(canvas.FindText(Gbk("班6")), nullptr);
  EXPECT_NE(canvas.FindText(Gbk("另有 6 个班级未列出")), nullptr);
  // The classes line is cut between characters and ends with dots inside the margin.
  const CanvasOp* line = nullptr;
  for (const CanvasOp* op : canvas.Texts())
    if (op->Gbk.rfind(Gbk("上课班级："), 0) == 0) line = op;
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->Gbk.substr(line->Gbk.size() - 3), "...");
  EXPECT_LE(line->X1 + static_cast<int>(line->Gbk.size()) * (line->Points * 254 / 72 / 2), 1900);
  EXPECT_GT(line->X1 + static_cast<int>(line->Gbk.size()) * (line->Points * 254 / 72 / 2), 1800);
}

}  // namespace
