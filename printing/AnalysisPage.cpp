#include "printing/AnalysisPage.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "grading/Numbers.h"
#include "printing/AnalysisInk.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

using analysis::Align;
using analysis::PageInk;

namespace {

// The page in millimetres: margins 20 mm left and right.
constexpr double kLeft = 20.0, kRight = 190.0;
constexpr double kBodyPt = 9.0, kSmallPt = 7.5, kSectionPt = 11.0;

// The page's own words, GBK, converted once.
struct Words {
  std::string Title = Gbk("课程成绩分析");
  std::string Course = Gbk("课程："), Teacher = Gbk("教师："), Classes = Gbk("上课班级：");
  std::string Term = Gbk("学期："), Key = Gbk("课程号："), Share = Gbk("平时成绩比例：");
  std::string Overview = Gbk("一、总体情况"), BandsTitle = Gbk("二、分数段分布");
  std::string HistogramTitle = Gbk("三、分数分布（每5分一段）"), ClassesTitle = Gbk("四、各班级对比");
  std::string ScatterTitle = Gbk("五、平时成绩与考试成绩");
  std::vector<std::string> FigureLabels = {Gbk("人数"),   Gbk("计分人数"), Gbk("等级制"), Gbk("缺考等未计"),
                                           Gbk("最高分"), Gbk("最低分"),   Gbk("平均分"), Gbk("中位数"),
                                           Gbk("标准差"), Gbk("及格率"),   Gbk("优秀率"), Gbk("相关系数")};
  std::string Note = Gbk("作弊按0分计入；等级制成绩另行统计，不计入分数指标；缺考、缓考、旷考、空白及无法识别的成绩不计。");
  std::string Band = Gbk("分数段"), Count = Gbk("人数"), Share100 = Gbk("百分比");
  std::vector<std::string> BandNames = {"90-100", "80-89", "70-79", "60-69", Gbk("60以下")};
  std::string Over100 = Gbk("（含超过100分者 "), PeopleClose = Gbk(" 人）");
  std::string ClassHead = Gbk("班级"), Whole = Gbk("合计");
  std::vector<std::string> ClassColumns = {Gbk("人数"),   Gbk("计分"),   Gbk("平均分"), Gbk("中位数"), Gbk("标准差"),
                                           Gbk("最高分"), Gbk("最低分"), Gbk("及格率"), Gbk("优秀率")};
  std::string MoreClasses = Gbk("另有 "), MoreClassesEnd = Gbk(" 个班级未列出");
  std::string Coursework = Gbk("平时成绩"), Examination = Gbk("考试成绩");
  std::string PairsNote = Gbk("两项成绩均为分数的学生："), People = Gbk(" 人");
  std::string R = Gbk("相关系数 r = "), NoR = Gbk("相关系数：人数不足或成绩无差异，不计算");
  std::string LevelsTitle = Gbk("等级制成绩人数");
  std::vector<std::string> LevelNames = {Gbk("优/A"), Gbk("良/B"), Gbk("中/C"), Gbk("及格/D"), Gbk("不及格/F")};
  std::string NoScores = Gbk("没有以分数计的总成绩");
  std::string NoLevels = Gbk("本课程无等级制成绩。"), Dash = Gbk("—"), Over = ">100";
};
const Words& W() {
  static const Words words;
  return words;
}

std::string OrDash(const std::string& text) { return text.empty() ? W().Dash : text; }
std::string PercentText(const std::string& text) { return text.empty() ? W().Dash : text + "%"; }
std::string IntText(const std::optional<std::int32_t>& v) { return v ? std::to_string(*v) : W().Dash; }

// A step of 1, 2 or 5 times a power of ten that divides `top` into at most 5.
std::int64_t AxisStep(std::int64_t top) {
  std::int64_t step = 1;
  for (;;) {
    for (std::int64_t f : {1, 2, 5})
      if (top <= step * f * 5) return step * f;
    step *= 10;
  }
}

// A bar chart in the box x1..x2, y1..y2 with an axis of counts on the left;
// labels under the bars, counts over them.
void BarChart(PageInk& ink, double x1, double y1, double x2, double y2, const std::vector<std::int64_t>& counts,
              const std::vector<std::string>& labels, std::size_t labelEvery, bool countsOver) {
  const std::int64_t most = std::max<std::int64_t>(1, *std::max_element(counts.begin(), counts.end()));
  if (*std::max_element(counts.begin(), counts.end()) == 0) {
    ink.Font(kBodyPt);
    ink.Text(x1, x2, y1, y2, W().NoScores, Align::Centre);
  }
  const std::int64_t step = AxisStep(most);
  const std::int64_t top = (most + step - 1) / step * step;
  const double height = y2 - y1;
  ink.Font(kSmallPt);
  ink.Pen(PenStyle::Dot);
  for (std::int64_t v = step; v <= top; v += step) {
    const double y = y2 - height * static_cast<double>(v) / static_cast<double>(top);
    ink.Line(x1, y, x2, y);
  }
  ink.Pen(PenStyle::Solid);
  for (std::int64_t v = 0; v <= top; v += step) {
    const double y = y2 - height * static_cast<double>(v) / static_cast<double>(top);
    ink.Text(x1 - 9, x1 - 0.5, y - 2, y + 2, std::to_string(v), Align::Right);
  }
  ink.Line(x1, y1, x1, y2);
  ink.Line(x1, y2, x2, y2);
  const double slot = (x2 - x1) / static_cast<double>(counts.size());
  const double gap = slot * 0.18;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const double left = x1 + slot * static_cast<double>(i) + gap, right = left + slot - 2 * gap;
    const double barTop = y2 - height * static_cast<double>(counts[i]) / static_cast<double>(top);
    if (counts[i] > 0) ink.ShadedBox(left, barTop, right, y2);
    if (countsOver && counts[i] > 0) ink.Text(left - 2, right + 2, barTop - 4, barTop, std::to_string(counts[i]), Align::Centre);
    if (i % labelEvery == 0 && i < labels.size() && !labels[i].empty())
      ink.Text(left - 4, right + 4, y2 + 0.5, y2 + 4.5, labels[i], Align::Centre);
  }
}

void Heading(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  ink.Font(18, true);
  ink.TextAt(105, 12, w.Title, Align::Centre);
  ink.Font(10.5);
  ink.FittedText(kLeft, 24, 100, w.Course + c.Name);
  ink.FittedText(125, 24, kRight - 125, w.Teacher + c.Teacher);
  ink.FittedText(kLeft, 30, kRight - kLeft, w.Classes + c.ClassList);
  ink.FittedText(kLeft, 36, 100, w.Term + c.Term);
  std::string key = w.Key + c.Whole.CourseKey;
  if (!c.Share.empty()) key += "    " + w.Share + c.Share + "%";
  ink.FittedText(125, 36, kRight - 125, key);
  ink.Line(kLeft, 42, kRight, 42);
}

void Overview(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  const AnalysisFigures& f = c.Whole;
  ink.Font(kSectionPt, true);
  ink.TextAt(kLeft, 45, w.Overview);
  const std::string values[] = {std::to_string(f.Students), std::to_string(f.Scored), std::to_string(f.Levels),
                                std::to_string(f.Uncounted), IntText(f.Max),         IntText(f.Min),
                                OrDash(f.Mean),              OrDash(f.Median),       OrDash(f.Sd),
                                PercentText(f.PassRate),     PercentText(f.ExcellentRate), OrDash(c.Correlation)};
  const double top = 51, row = 6, column = (kRight - kLeft) / 6;
  ink.Box(kLeft, top, kRight, top + 4 * row);
  for (int r = 1; r < 4; ++r) ink.Line(kLeft, top + r * row, kRight, top + r * row);
  for (int k = 1; k < 6; ++k) ink.Line(kLeft + k * column, top, kLeft + k * column, top + 4 * row);
  for (std::size_t i = 0; i < 12; ++i) {
    const double x = kLeft + static_cast<double>(i % 6) * column, y = top + static_cast<double>(i / 6) * 2 * row;
    ink.Font(kBodyPt);
    ink.Text(x, x + column, y, y + row, w.FigureLabels[i], Align::Centre);
    ink.Font(kBodyPt, true);
    ink.Text(x, x + column, y + row, y + 2 * row, values[i], Align::Centre);
  }
  ink.Font(kSmallPt);
  ink.FittedText(kLeft, top + 4 * row + 1.2, kRight - kLeft, w.Note);
}

void Bands(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  const AnalysisFigures& f = c.Whole;
  ink.Font(kSectionPt, true);
  ink.TextAt(kLeft, 84, w.BandsTitle);
  const double top = 90, row = 6, cols[] = {kLeft, 46, 64, 88};
  ink.Box(cols[0], top, cols[3], top + 6 * row);
  for (int r = 1; r < 6; ++r) ink.Line(cols[0], top + r * row, cols[3], top + r * row);
  for (int k = 1; k < 3; ++k) ink.Line(cols[k], top, cols[k], top + 6 * row);
  ink.Font(kBodyPt);
  ink.Text(cols[0], cols[1], top, top + row, w.Band, Align::Centre);
  ink.Text(cols[1], cols[2], top, top + row, w.Count, Align::Centre);
  ink.Text(cols[2], cols[3], top, top + row, w.Share100, Align::Centre);
  std::vector<std::int64_t> counts;
  for (std::size_t b = 0; b < 5; ++b) {
    const double y = top + static_cast<double>(b + 1) * row;
    ink.Text(cols[0], cols[1], y, y + row, w.BandNames[b], Align::Centre);
    ink.Text(cols[1], cols[2], y, y + row, std::to_string(f.Bands[b]), Align::Right);
    ink.Text(cols[2], cols[3], y, y + row, PercentText(Percent(f.Bands[b], f.Scored)), Align::Right);
    counts.push_back(f.Bands[b]);
  }
  if (c.OutsideHistogram > 0) {
    ink.Font(kSmallPt);
    ink.TextAt(kLeft, top + 6 * row + 1, w.BandNames[4] + w.Over100 + std::to_string(c.OutsideHistogram) + w.PeopleClose);
  }
  BarChart(ink, 108, top + 4, kRight, top + 6 * row - 2, counts, w.BandNames, 1, true);
}

void Histogram(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  ink.Font(kSectionPt, true);
  ink.TextAt(kLeft, 134, w.HistogramTitle);
  std::vector<std::int64_t> counts(c.Histogram.begin(), c.Histogram.end());
  std::vector<std::string> labels;
  for (int b = 0; b < kHistogramBins; ++b) labels.push_back(std::to_string(b * 5));
  if (c.OutsideHistogram > 0) {
    counts.push_back(c.OutsideHistogram);
    labels.push_back(w.Over);
  }
  BarChart(ink, kLeft + 10, 144, kRight, 170, counts, labels, 1, true);
}

void ClassTable(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  ink.Font(kSectionPt, true);
  ink.TextAt(kLeft, 180, w.ClassesTitle);
  const double top = 186, room = 36;
  std::size_t shown = c.Classes.size();
  double row = room / static_cast<double>(shown + 2);
  if (row < 4.2) {
    row = 4.2;
    shown = static_cast<std::size_t>(room / row) - 2;
  }
  row = std::min(row, 6.0);
  const double first = 30, column = (kRight - kLeft - first) / 9;
  const double bottom = top + static_cast<double>(shown + 2) * row;
  ink.Box(kLeft, top, kRight, bottom);
  for (std::size_t r = 1; r < shown + 2; ++r) ink.Line(kLeft, top + static_cast<double>(r) * row, kRight, top + static_cast<double>(r) * row);
  for (int k = 0; k < 9; ++k) ink.Line(kLeft + first + k * column, top, kLeft + first + k * column, bottom);
  ink.Font(kBodyPt);
  ink.Text(kLeft, kLeft + first, top, top + row, w.ClassHead, Align::Centre);
  for (int k = 0; k < 9; ++k)
    ink.Text(kLeft + first + k * column, kLeft + first + (k + 1) * column, top, top + row,
             w.ClassColumns[static_cast<std::size_t>(k)], Align::Centre);
  auto line = [&](double y, const std::string& name, const AnalysisFigures& f) {
    const std::string cells[] = {std::to_string(f.Students), std::to_string(f.Scored), OrDash(f.Mean),
                                 OrDash(f.Median),           OrDash(f.Sd),             IntText(f.Max),
                                 IntText(f.Min),             PercentText(f.PassRate),  PercentText(f.ExcellentRate)};
    ink.Text(kLeft, kLeft + first, y, y + row, name, Align::Left);
    for (int k = 0; k < 9; ++k)
      ink.Text(kLeft + first + k * column, kLeft + first + (k + 1) * column, y, y + row, cells[k], Align::Right);
  };
  for (std::size_t i = 0; i < shown; ++i) line(top + static_cast<double>(i + 1) * row, std::string(TrimmedBlanks(c.Classes[i].ClassCode)), c.Classes[i]);
  line(top + static_cast<double>(shown + 1) * row, w.Whole, c.Whole);
  if (shown < c.Classes.size()) {
    ink.Font(kSmallPt);
    ink.TextAt(kLeft, bottom + 1, w.MoreClasses + std::to_string(c.Classes.size() - shown) + w.MoreClassesEnd);
  }
}

void Scatter(PageInk& ink, const CourseAnalysis& c) {
  const Words& w = W();
  ink.Font(kSectionPt, true);
  ink.TextAt(kLeft, 228, w.ScatterTitle);
  const double x1 = kLeft + 14, x2 = x1 + 60, y1 = 245, y2 = 281;
  ink.Font(kSmallPt);
  ink.Pen(PenStyle::Dot);
  for (int v = 20; v <= 100; v += 20) {
    const double x = x1 + (x2 - x1) * v / 100, y = y2 - (y2 - y1) * v / 100;
    ink.Line(x, y1, x, y2);
    ink.Line(x1, y, x2, y);
  }
  ink.Pen(PenStyle::Dash);
  ink.Line(x1 + (x2 - x1) * 0.6, y1, x1 + (x2 - x1) * 0.6, y2);
  ink.Line(x1, y2 - (y2 - y1) * 0.6, x2, y2 - (y2 - y1) * 0.6);
  ink.Pen(PenStyle::Solid);
  ink.Box(x1, y1, x2, y2);
  for (int v = 0; v <= 100; v += 20) {
    ink.TextAt(x1 + (x2 - x1) * v / 100, y2 + 0.8, std::to_string(v), Align::Centre);
    const double y = y2 - (y2 - y1) * v / 100;
    ink.Text(x1 - 9, x1 - 0.3, y - 2, y + 2, std::to_string(v), Align::Right);
  }
  ink.TextAt((x1 + x2) / 2, y2 + 4.2, w.Coursework, Align::Centre);
  ink.TextAt(kLeft, y1 - 4.8, w.Examination);
  // Students with the same two grades share one mark; a score past the
  // frame is marked on its edge.
  std::set<std::pair<std::int32_t, std::int32_t>> marks(c.Pairs.begin(), c.Pairs.end());
  const double arm = 0.7;
  for (const auto& [cw, ex] : marks) {
    const double x = x1 + (x2 - x1) * std::clamp(cw, 0, 100) / 100.0;
    const double y = y2 - (y2 - y1) * std::clamp(ex, 0, 100) / 100.0;
    ink.Line(x - arm, y - arm, x + arm, y + arm);
    ink.Line(x - arm, y + arm, x + arm, y - arm);
  }

  const double right = x2 + 16;
  ink.Font(kBodyPt);
  ink.TextAt(right, y1, w.PairsNote + std::to_string(c.Pairs.size()) + w.People);
  ink.TextAt(right, y1 + 6, c.Correlation.empty() ? w.NoR : w.R + c.Correlation);
  const AnalysisFigures& f = c.Whole;
  if (f.Levels == 0) {
    ink.TextAt(right, y1 + 16, w.NoLevels);
    return;
  }
  ink.Font(kBodyPt, true);
  ink.TextAt(right, y1 + 16, w.LevelsTitle);
  ink.Font(kBodyPt);
  const double top = y1 + 22, row = 6, column = (kRight - right) / 5;
  ink.Box(right, top, kRight, top + 2 * row);
  ink.Line(right, top + row, kRight, top + row);
  for (std::size_t k = 0; k < 5; ++k) {
    const double x = right + static_cast<double>(k) * column;
    if (k > 0) ink.Line(x, top, x, top + 2 * row);
    ink.Text(x, x + column, top, top + row, w.LevelNames[k], Align::Centre);
    ink.Text(x, x + column, top + row, top + 2 * row, std::to_string(f.LevelCounts[k]), Align::Centre);
  }
}

}  // namespace

int AnalysisPageWidth(const AnalysisPaper& paper) {
  return Round(kAnalysisPageWidthMm * paper.Dpi / 25.4 * paper.Scale);
}
int AnalysisPageHeight(const AnalysisPaper& paper) {
  return Round(kAnalysisPageHeightMm * paper.Dpi / 25.4 * paper.Scale);
}

void DrawAnalysisPage(Canvas& canvas, const CourseAnalysis& course, const AnalysisPaper& paper) {
  PageInk ink(canvas, paper);
  Heading(ink, course);
  Overview(ink, course);
  Bands(ink, course);
  Histogram(ink, course);
  ClassTable(ink, course);
  Scatter(ink, course);
}
