#include "printing/TdjxscjPrn.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "grading/GradeParser.h"
#include "grading/Numbers.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

namespace {

// Literal texts of the sheet, as GBK, converted once.
struct SheetTexts {
  std::string DefaultTitle = Gbk("学生考试(考查)成绩表");
  std::string DefaultTerm = Gbk("     年度第   学期");
  std::string StudentNo = Gbk("学　号");
  std::string Name = Gbk("姓　名");
  std::string Class = Gbk("行政班级");
  std::string Coursework = Gbk("平  时");
  std::string Examination = Gbk("考  试");
  std::string Total = Gbk("总  评");
  std::string Grade = Gbk("成  绩");
};

const SheetTexts& Texts() {
  static const SheetTexts texts;
  return texts;
}

// A heading field: label, its underline, and the tag whose value goes on it.
struct HeadingField {
  std::string Label;
  int Line, LabelColumn, RuleFirst, RuleLast, ValueColumn;
  const char* Tag;  // nullptr: the underline stays empty
};

const std::vector<HeadingField>& FirstHeadingFields() {
  static const std::vector<HeadingField> fields = {
      {Gbk("课程"), 4, 2, 6, 36, 7, "tk"},     {Gbk("类别"), 4, 40, 44, 50, 45, "tl"},
      {Gbk("学分"), 4, 54, 58, 64, 59, "tx"},  {Gbk("周学时"), 4, 68, 74, 78, 75, "tz"},
      {Gbk("编  号"), 4, 86, 92, 101, 0, nullptr}, {Gbk("教师"), 6, 2, 6, 16, 7, "tj"},
      {Gbk("开课院系"), 6, 18, 26, 58, 27, "td"}, {Gbk("人数"), 8, 2, 6, 12, 7, "tr"},
  };
  return fields;
}

// The last three fields draw all labels first and their values after.
const std::vector<HeadingField>& SecondHeadingFields() {
  static const std::vector<HeadingField> fields = {
      {Gbk("院系"), 8, 64, 68, 101, 69, "ty"},
      {Gbk("专业"), 8, 22, 26, 58, 27, "tf"},
      {Gbk("上课班级"), 6, 60, 68, 101, 69, "tb"},
  };
  return fields;
}

// Values in the order they are drawn: major, department, teaching classes.
constexpr int kSecondValueOrder[] = {1, 0, 2};

struct BlockLabel {
  std::string Text;
  int Column, Line, RuleFirst, RuleLast;
};

constexpr int kSignColumn = TdjxscjPrn::SheetColumns - 41;    // 60
constexpr int kSignRuleFirst = TdjxscjPrn::SheetColumns - 27;  // 74
constexpr int kSignRuleLast = TdjxscjPrn::SheetColumns - 4;    // 97

const std::vector<BlockLabel>& ClosingLabels() {
  static const std::vector<BlockLabel> labels = {
      {Gbk("平时成绩占　　　％，"), 3, 54, 14, 18},
      {Gbk("卷面成绩占　　　％，"), 25, 54, 36, 40},
      {Gbk("应参加考试　　　人，"), 47, 54, 58, 62},
      {Gbk("实参加考试　　　人，"), 67, 54, 78, 82},
      {Gbk("缺考　　　人。"), 87, 54, 92, 96},
      {Gbk("其中： 90 - 100 分　　　　人;"), 3, 57, 22, 28},
      {Gbk("80 - 89 分 　　　　人;"), 10, 59, 22, 28},
      {Gbk("70 - 79 分 　　　　人;"), 10, 61, 22, 28},
      {Gbk("60 - 69 分 　　　　人;"), 10, 63, 22, 28},
      {Gbk(" 60 分以下 　　　　人;"), 10, 65, 22, 28},
      {Gbk("平均成绩： 　　　　;"), 10, 67, 22, 28},
      {Gbk("不及格率： 　　　　％"), 10, 69, 22, 28},
      {Gbk("考 核 日 期："), kSignColumn, 57, kSignRuleFirst, kSignRuleLast},
      {Gbk("教 师 签 字："), kSignColumn, 60, kSignRuleFirst, kSignRuleLast},
      {Gbk("教学主任签字："), kSignColumn, 63, kSignRuleFirst, kSignRuleLast},
      {Gbk("院 系 公 章："), kSignColumn, 66, kSignRuleFirst, kSignRuleLast},
      {Gbk("填 表 日 期："), kSignColumn, 69, kSignRuleFirst, kSignRuleLast},
  };
  return labels;
}

constexpr int kBandLines[5] = {57, 59, 61, 63, 65};

// Header texts up to this many bytes are drawn as they are without asking
// whether they fit: every real one is far shorter.
constexpr std::size_t kAlwaysWhole = 512;
constexpr std::size_t kBytesPerPixel = 8;

// The first place at or after byte n (counting from 0) where a GBK text can
// be cut without splitting a double-byte character.
std::size_t GbkCharEnd(std::string_view gbk, std::size_t n) {
  std::size_t i = 0;
  while (i < n && i < gbk.size()) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    i += byte >= 0x81 && byte <= 0xFE && i + 1 < gbk.size() ? 2 : 1;
  }
  return std::min(i, gbk.size());
}

std::string Trimmed(std::string_view text) {
  std::string s(text);
  TrimBlanks(s);
  return s;
}

int BandOf(std::int32_t score) {
  if (score >= 90 && score <= 100) return 0;
  if (score >= 80 && score <= 89) return 1;
  if (score >= 70 && score <= 79) return 2;
  if (score >= 60 && score <= 69) return 3;
  return 4;
}

// The same key for a group entry: a CourseKeys entry whole, or the course
// key and the 8 class bytes of a ClassGroups entry.
std::string EntryGroupKey(std::string_view entry, bool split) {
  if (!split) return std::string(entry);
  std::string key(entry.substr(0, 5));
  if (entry.size() > 5) key += entry.substr(5, 8);
  // A split entry of fewer than 5 key bytes can match no grade line.
  if (entry.size() < 5) key.insert(0, 1, '\n');
  return key;
}

}  // namespace

TdjxscjPrn::TdjxscjPrn(const GradeBook& book, const PrintSetup& setup,
                       const std::uint8_t& sheetMode, TPageList& pageList, TRowList& rowList)
    : book_(book), setup_(setup), sheetMode_(sheetMode), pageList_(pageList), rowList_(rowList) {}

void TdjxscjPrn::ClearPageList() { pageList_.clear(); }
void TdjxscjPrn::ClearRowList() { rowList_.clear(); }

bool TdjxscjPrn::MakePages() {
  FPageCount = 0;
  FFirstRow = 0;
  FEndRow = 0;
  ClearPageList();
  ClearRowList();

  const bool split = sheetMode_ != 0;
  const Lines& groups = split ? book_.ClassGroups : book_.CourseKeys;
  const Lines& lines = book_.GradeLines;

  // One pass over the grade lines: every line goes to the bucket of its
  // group key; every group then takes its bucket's rows. A key that names
  // two groups (a course whose header lines come in two runs) gives each of
  // them the same rows, as a scan per group would.
  std::unordered_map<std::string, std::int32_t> bucketOfKey;
  bucketOfKey.reserve(groups.size() * 2);
  std::vector<std::int32_t> bucketOfGroup(groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    auto [it, added] = bucketOfKey.try_emplace(EntryGroupKey(groups[g], split),
                                               static_cast<std::int32_t>(bucketOfKey.size()));
    bucketOfGroup[g] = it->second;
  }
  const std::size_t buckets = bucketOfKey.size();

  std::vector<std::int32_t> bucketOfLine(lines.size(), -1);
  std::vector<std::int32_t> bucketStart(buckets + 1, 0);
  std::string key;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    key.assign(KeyOf(lines[i]));
    if (split) key += Field(lines[i], record::Class);
    auto it = bucketOfKey.find(key);
    if (it == bucketOfKey.end()) continue;
    bucketOfLine[i] = it->second;
    ++bucketStart[static_cast<std::size_t>(it->second) + 1];
  }
  for (std::size_t b = 0; b < buckets; ++b) bucketStart[b + 1] += bucketStart[b];
  std::vector<std::int32_t> sorted(static_cast<std::size_t>(bucketStart[buckets]));
  {
    std::vector<std::int32_t> next(bucketStart.begin(), bucketStart.end() - 1);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (bucketOfLine[i] >= 0) sorted[static_cast<std::size_t>(next[bucketOfLine[i]]++)] = static_cast<std::int32_t>(i);
  }

  std::size_t totalRows = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto b = static_cast<std::size_t>(bucketOfGroup[g]);
    totalRows += static_cast<std::size_t>(bucketStart[b + 1] - bucketStart[b]);
  }
  rowList_.reserve(totalRows);

  std::int32_t offset = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto b = static_cast<std::size_t>(bucketOfGroup[g]);
    const std::int32_t count = bucketStart[b + 1] - bucketStart[b];
    for (std::int32_t r = bucketStart[b]; r < bucketStart[b + 1]; ++r)
      rowList_.push_back(TRowEntry{sorted[static_cast<std::size_t>(r)]});
    std::int32_t pages = count / RowsPerPage;
    if (pages * RowsPerPage < count || pages == 0) ++pages;
    for (std::int32_t p = 0; p < pages; ++p)
      pageList_.push_back(TPageEntry{count, offset + RowsPerPage * p, static_cast<std::int32_t>(g)});
    offset += count;
  }
  FPageCount = static_cast<std::int32_t>(pageList_.size());
  return true;
}

TdjxscjPrn::PageGroup TdjxscjPrn::GroupOfPage(const TPageEntry& page) const {
  PageGroup group;
  const bool split = sheetMode_ != 0;
  const Lines& groups = split ? book_.ClassGroups : book_.CourseKeys;
  if (page.GroupIndex < 0 || static_cast<std::size_t>(page.GroupIndex) >= groups.size()) return group;
  std::string_view entry = groups[static_cast<std::size_t>(page.GroupIndex)];
  group.CourseKey = entry.substr(0, 5);
  if (split && entry.size() > 5) group.ClassCode = entry.substr(5, 8);
  group.Valid = true;
  return group;
}

std::size_t TdjxscjPrn::GroupFirstRow(std::size_t index) const {
  while (index > 0 && pageList_[index - 1].GroupIndex == pageList_[index].GroupIndex) --index;
  return static_cast<std::size_t>(std::max<std::int32_t>(0, pageList_[index].FirstRow));
}

TdjxscjPrn::CourseHeads TdjxscjPrn::HeadsOf(std::string_view key) const {
  CourseHeads heads;
  if (key.size() != 5) {
    for (const std::string& line : book_.HeadLines)
      if (KeyOf(line) == key) heads.push_back(line);
    return heads;
  }
  // Every page scans all header lines; comparing the 5 key bytes as two
  // fixed-size words keeps that scan cheap in a book of thousands of courses.
  std::uint32_t head4;
  std::memcpy(&head4, key.data(), 4);
  for (const std::string& line : book_.HeadLines) {
    if (line.size() < 5) continue;
    std::uint32_t line4;
    std::memcpy(&line4, line.data(), 4);
    if (line4 == head4 && line[4] == key[4]) heads.push_back(line);
  }
  return heads;
}

std::optional<std::string_view> TdjxscjPrn::HeadValue(const CourseHeads& heads, std::string_view tag) {
  std::optional<std::string_view> value;
  for (std::string_view line : heads)
    if (TagOf(line) == tag) value = FieldFrom(line, kHeadValuePos);
  return value;
}

std::string_view TdjxscjPrn::FitToPage(Canvas& canvas, std::string_view text, std::int64_t x) const {
  if (text.size() <= kAlwaysWhole) return text;
  const std::int64_t room = std::max<std::int64_t>(0, pageRight_ - x);
  // No font puts more than a few characters into one pixel; past that many
  // bytes nothing more can show, whatever the widths say.
  const std::size_t cap = std::max<std::size_t>(kAlwaysWhole, static_cast<std::size_t>(room) * kBytesPerPixel);
  for (std::size_t n = kAlwaysWhole;; n *= 2) {
    const std::size_t end = GbkCharEnd(text, std::min(n, cap));
    if (end >= text.size()) return text;
    if (n >= cap) return text.substr(0, end);
    if (canvas.TextWidth(text.substr(0, end)) > room) {
      // All that follows starts right of the page's edge. As much again is
      // kept, so that the glyphs at the cut, which the cut may shape
      // differently, lie off the page too.
      return text.substr(0, GbkCharEnd(text, 2 * end));
    }
  }
}

void TdjxscjPrn::TextAt(Canvas& canvas, int column, int line, std::string_view text) const {
  canvas.TextOut(FLeft + column * FCharWidth, FTop + line * FLineHeight + FHalfLine, text);
}

void TdjxscjPrn::RuleUnder(Canvas& canvas, int line, int firstColumn, int lastColumn) const {
  // The 2 is in device pixels: the rule sits just below the text at any scale.
  const int y = FTop + (line + 2) * FLineHeight - FHalfLine + 2;
  canvas.Line(FLeft + firstColumn * FCharWidth, y, FLeft + lastColumn * FCharWidth, y);
}

void TdjxscjPrn::DrawHeading(Canvas& canvas, const CourseHeads& heads, double scale) {
  const SheetTexts& t = Texts();
  const int sheetWidth = SheetColumns * FCharWidth;

  ScaleFont(canvas, setup_.TitleFont, scale);
  const std::string_view title =
      FitToPage(canvas, TrimmedBlanks(HeadValue(heads, "t0").value_or(t.DefaultTitle)), FLeft);
  canvas.TextOut(FLeft + std::max(0, (sheetWidth - canvas.TextWidth(title)) / 2), FTop + 2, title);

  ScaleFont(canvas, setup_.BodyFont, scale);
  const std::string_view term = FitToPage(canvas, HeadValue(heads, "t1").value_or(t.DefaultTerm), FLeft);
  canvas.TextOut(FLeft + std::max(0, (sheetWidth - canvas.TextWidth(term)) / 2),
                 FTop + 2 * FLineHeight + FHalfLine, term);

  auto drawValues = [&](const HeadingField& field) {
    const std::int64_t x = FLeft + static_cast<std::int64_t>(field.ValueColumn) * FCharWidth;
    for (std::string_view line : heads)
      if (TagOf(line) == field.Tag)
        TextAt(canvas, field.ValueColumn, field.Line, FitToPage(canvas, TrimmedBlanks(FieldFrom(line, kHeadValuePos)), x));
  };
  for (const HeadingField& field : FirstHeadingFields()) {
    TextAt(canvas, field.LabelColumn, field.Line, field.Label);
    RuleUnder(canvas, field.Line, field.RuleFirst, field.RuleLast);
    if (field.Tag) drawValues(field);
  }
  const auto& second = SecondHeadingFields();
  for (const HeadingField& field : second) {
    TextAt(canvas, field.LabelColumn, field.Line, field.Label);
    RuleUnder(canvas, field.Line, field.RuleFirst, field.RuleLast);
  }
  for (int i : kSecondValueOrder) drawValues(second[static_cast<std::size_t>(i)]);
}

void TdjxscjPrn::DrawTable(Canvas& canvas) {
  const SheetTexts& t = Texts();
  const int top = FTop + 11 * FLineHeight - FHalfLine;
  const int bottom = FTop + 53 * FLineHeight + FHalfLine;
  auto vertical = [&](int column) {
    const int x = FLeft + column * FCharWidth + quarterChar_;
    canvas.Line(x, top, x, bottom);
  };
  auto twoLine = [&](int column, const std::string& upper) {
    canvas.TextOut(FLeft + column * FCharWidth, FTop + 11 * FLineHeight, upper);
    canvas.TextOut(FLeft + column * FCharWidth, FTop + 12 * FLineHeight, t.Grade);
  };

  for (int k = 0; k < 2; ++k) {
    const int b = HalfColumns * k;
    TextAt(canvas, b + 3, 11, t.StudentNo);
    TextAt(canvas, b + 13, 11, t.Name);
    TextAt(canvas, b + 21, 11, t.Class);
    for (int c : {0, 11, 20, 29}) vertical(b + c);
    twoLine(b + 30, t.Coursework);
    vertical(b + 36);
    twoLine(b + 37, t.Examination);
    vertical(b + 43);
    twoLine(b + 44, t.Total);
    vertical(b + 50);
  }

  const int left = FLeft + quarterChar_;
  const int right = FLeft + SheetColumns * FCharWidth + quarterChar_;
  canvas.Line(left, top, right, top);
  canvas.Line(left, bottom, right, bottom);
  for (int i = 1; i <= 20; ++i) {
    const int y = FTop + (11 + 2 * i) * FLineHeight + FHalfLine;
    canvas.Line(left, y, right, y);
  }

  const Lines& lines = book_.GradeLines;
  for (int k = 0; k < 2; ++k) {
    const int b = HalfColumns * k;
    for (int r = 0; r < 20; ++r) {
      const std::int64_t idx = static_cast<std::int64_t>(FFirstRow) + 20 * k + r;
      if (idx >= FEndRow || idx < 0 || static_cast<std::size_t>(idx) >= rowList_.size()) continue;
      const auto lineIndex = static_cast<std::size_t>(rowList_[static_cast<std::size_t>(idx)].LineIndex);
      if (lineIndex >= lines.size()) continue;  // a layout older than the book
      std::string_view line = lines[lineIndex];
      const int y = FTop + (14 + 2 * r) * FLineHeight;
      auto at = [&](int column, std::string_view text) {
        canvas.TextOut(FLeft + column * FCharWidth, y, text);
      };
      at(b + 1, Field(line, record::Number));
      at(b + 12, Field(line, record::Name));
      at(b + 21, Field(line, record::Class));
      const int gradeColumns[3] = {b + 30, b + 37, b + 44};
      const std::size_t gradePos[3] = {34, 40, 46};
      for (int g = 0; g < 3; ++g) {
        const std::string grade = Trimmed(Field(line, gradePos[g], 6));
        at(gradeColumns[g] + (6 - static_cast<int>(grade.size())) / 2, grade);
      }
    }
  }
}

void TdjxscjPrn::FillFigures(std::size_t pageIndex, const PageGroup& group,
                             const CourseHeads& heads, TGroupFigures& figures) const {
  const TPageEntry& page = pageList_[pageIndex];
  figures = TGroupFigures{};
  figures.CourseKey.assign(group.CourseKey);
  figures.ClassCode.assign(group.ClassCode);
  figures.GroupCount = page.GroupCount;
  figures.GroupPages = std::max<std::int32_t>(1, (page.GroupCount + RowsPerPage - 1) / RowsPerPage);

  // A later "t9" line of the course is drawn over an earlier one; one left
  // blank (0 or less) hides nothing.
  for (std::string_view line : heads) {
    if (TagOf(line) != "t9") continue;
    const long double p = ReadNumber(Trimmed(Field(line, kShareField)));
    if (p > 0) {
      figures.Coursework = FormatFixed(p, 0, 3);
      figures.Examination = FormatFixed(100 - p, 0, 3);
    }
  }
  figures.Due = FormatInt(page.GroupCount, 4);

  std::int64_t bands[5] = {0, 0, 0, 0, 0};
  std::int64_t sum = 0;  // 64 bits: many large scores must not wrap
  bool level = false;
  const Lines& lines = book_.GradeLines;
  const std::size_t first = GroupFirstRow(pageIndex);
  const std::size_t end = std::min(rowList_.size(), first + static_cast<std::size_t>(std::max(0, page.GroupCount)));
  for (std::size_t r = first; r < end && !level; ++r) {
    const auto lineIndex = static_cast<std::size_t>(rowList_[r].LineIndex);
    if (lineIndex >= lines.size()) continue;
    std::int32_t score = 0;
    const GradeCode code = ParseGrade(Field(lines[lineIndex], record::Total), score);
    if (IsLevel(code)) level = true;
    else if (code == GradeCode::Number || code == GradeCode::Cheating) {
      if (code == GradeCode::Cheating) score = 0;
      ++bands[BandOf(score)];
      sum += score;
    }
  }
  if (level) return;
  std::int64_t counted = 0;
  for (int b = 0; b < 5; ++b) {
    figures.Bands[static_cast<std::size_t>(b)] = FormatInt(bands[b], 4);
    counted += bands[b];
  }
  if (counted > 0) {
    figures.Average = FormatQuotient(sum, counted, 2, 6);
    figures.FailureRate = FormatQuotient(bands[4] * 100, counted, 2, 6);
  }
}

bool TdjxscjPrn::PageFigures(std::int32_t PageNo, TGroupFigures& figures) const {
  if (PageNo < 1 || static_cast<std::size_t>(PageNo) > pageList_.size()) return false;
  const std::size_t index = static_cast<std::size_t>(PageNo) - 1;
  const PageGroup group = GroupOfPage(pageList_[index]);
  if (!group.Valid) return false;
  FillFigures(index, group, HeadsOf(group.CourseKey), figures);
  return true;
}

void TdjxscjPrn::EveryGroupFigures(
    const std::function<bool(std::int32_t firstPage, const TGroupFigures& figures)>& fn) const {
  // The header lines of every course key, as HeadsOf would gather them one by one.
  std::unordered_map<std::string_view, CourseHeads> headsOfKey;
  for (const std::string& line : book_.HeadLines) headsOfKey[KeyOf(line)].push_back(line);
  const CourseHeads none;
  TGroupFigures figures;
  for (std::size_t i = 0; i < pageList_.size(); ++i) {
    if (i > 0 && pageList_[i - 1].GroupIndex == pageList_[i].GroupIndex) continue;
    const PageGroup group = GroupOfPage(pageList_[i]);
    if (!group.Valid) continue;
    const auto heads = headsOfKey.find(group.CourseKey);
    FillFigures(i, group, heads == headsOfKey.end() ? none : heads->second, figures);
    if (!fn(static_cast<std::int32_t>(i + 1), figures)) return;
  }
}

void TdjxscjPrn::DrawClosingBlock(Canvas& canvas, const TGroupFigures& figures) {
  for (const BlockLabel& label : ClosingLabels()) {
    TextAt(canvas, label.Column, label.Line, label.Text);
    RuleUnder(canvas, label.Line, label.RuleFirst, label.RuleLast);
  }
  auto figure = [&](int column, int line, const std::string& text) {
    if (!text.empty()) TextAt(canvas, column, line, text);
  };
  figure(15, 54, figures.Coursework);
  figure(37, 54, figures.Examination);
  figure(58, 54, figures.Due);
  for (int b = 0; b < 5; ++b) figure(22, kBandLines[b], figures.Bands[static_cast<std::size_t>(b)]);
  figure(22, 67, figures.Average);
  figure(22, 69, figures.FailureRate);
}

bool TdjxscjPrn::DrawPage(Canvas& canvas, std::int32_t PageNo, std::uint16_t Device, double Scale) {
  if (Device > DeviceScreen || !std::isfinite(Scale) || Scale <= 0) return true;
  const TDeviceMetrics& m = setup_.Metrics[Device];
  FLeft = Round(m.MarginLeft * Scale);
  FTop = Round(m.MarginTop * Scale);
  FHalfLine = Round(m.HalfLine * Scale);
  FHalfChar = Round(m.HalfChar * Scale);
  FCharWidth = Round(m.CharWidth * Scale);
  FLineHeight = Round(m.LineHeight * Scale);
  quarterChar_ = FHalfChar / 2;
  pageRight_ = std::max<std::int64_t>(Round(m.PageWidth * Scale),
                                      FLeft + static_cast<std::int64_t>(SheetColumns) * FCharWidth);

  if (PageNo < 1 || static_cast<std::size_t>(PageNo) > pageList_.size()) return true;
  const auto index = static_cast<std::size_t>(PageNo) - 1;
  FEndRow = index + 1 < pageList_.size() ? pageList_[index + 1].FirstRow
                                         : static_cast<std::int32_t>(rowList_.size());
  FFirstRow = pageList_[index].FirstRow;

  const PageGroup group = GroupOfPage(pageList_[index]);
  if (!group.Valid) return true;  // laid out for another book or sheet mode

  const CourseHeads heads = HeadsOf(group.CourseKey);
  DrawHeading(canvas, heads, Scale);
  DrawTable(canvas);
  TGroupFigures figures;
  FillFigures(index, group, heads, figures);
  DrawClosingBlock(canvas, figures);
  return true;
}
