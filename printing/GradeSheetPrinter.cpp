#include "printing/GradeSheetPrinter.h"

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
#include "text/ReadNumber.h"

using namespace sheetform;

namespace {

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

GradeSheetPrinter::GradeSheetPrinter(const GradeBook& book, const PrintSetup& setup,
                       const SheetKind& sheetKind, TPageList& pageList, TRowList& rowList)
    : book_(book), setup_(setup), sheetKind_(sheetKind), pageList_(pageList), rowList_(rowList) {}

void GradeSheetPrinter::ClearPageList() { pageList_.clear(); }
void GradeSheetPrinter::ClearRowList() { rowList_.clear(); }

bool GradeSheetPrinter::MakePages() {
  FPageCount = 0;
  FFirstRow = 0;
  FEndRow = 0;
  ClearPageList();
  ClearRowList();

  const bool split = sheetKind_ == SheetKind::ByClass;
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
    const auto next = static_cast<std::int32_t>(bucketOfKey.size());
    bucketOfGroup[g] = bucketOfKey.try_emplace(EntryGroupKey(groups[g], split), next).first->second;
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
    if (!choice_.Prints(std::string_view(groups[g]).substr(0, 5))) continue;
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

GradeSheetPrinter::PageGroup GradeSheetPrinter::GroupOfPage(const TPageEntry& page) const {
  PageGroup group;
  const bool split = sheetKind_ == SheetKind::ByClass;
  const Lines& groups = split ? book_.ClassGroups : book_.CourseKeys;
  if (page.GroupIndex < 0 || static_cast<std::size_t>(page.GroupIndex) >= groups.size()) return group;
  std::string_view entry = groups[static_cast<std::size_t>(page.GroupIndex)];
  group.CourseKey = entry.substr(0, 5);
  if (split && entry.size() > 5) group.ClassCode = entry.substr(5, 8);
  group.Valid = true;
  return group;
}

std::size_t GradeSheetPrinter::GroupFirstRow(std::size_t index) const {
  while (index > 0 && pageList_[index - 1].GroupIndex == pageList_[index].GroupIndex) --index;
  return static_cast<std::size_t>(std::max<std::int32_t>(0, pageList_[index].FirstRow));
}

GradeSheetPrinter::HeadIndex GradeSheetPrinter::AllHeads() const {
  HeadIndex index;
  for (const std::string& line : book_.HeadLines) index[KeyOf(line)].push_back(line);
  return index;
}

void GradeSheetPrinter::IndexHeads() { headIndex_ = AllHeads(), figuresGroup_ = -1; }
GradeSheetPrinter::CourseHeads GradeSheetPrinter::HeadsOf(std::string_view key) const {
  if (headIndex_) {
    const auto found = headIndex_->find(key);
    return found == headIndex_->end() ? CourseHeads{} : found->second;
  }
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

std::optional<std::string_view> GradeSheetPrinter::HeadValue(const CourseHeads& heads, std::string_view tag) {
  std::optional<std::string_view> value;
  for (std::string_view line : heads)
    if (TagOf(line) == tag) value = FieldFrom(line, kHeadValuePos);
  return value;
}

std::string_view GradeSheetPrinter::FitToPage(Canvas& canvas, std::string_view text, std::int64_t x) const {
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

void GradeSheetPrinter::TextAt(Canvas& canvas, int column, int line, std::string_view text) const {
  canvas.TextOut(FLeft + column * FCharWidth, FTop + line * FLineHeight + FHalfLine, text);
}

void GradeSheetPrinter::RuleUnder(Canvas& canvas, int line, int firstColumn, int lastColumn) const {
  // The 2 is in device pixels: the rule sits just below the text at any scale.
  const int y = FTop + (line + 2) * FLineHeight - FHalfLine + 2;
  canvas.Line(FLeft + firstColumn * FCharWidth, y, FLeft + lastColumn * FCharWidth, y);
}

void GradeSheetPrinter::DrawHeading(Canvas& canvas, const CourseHeads& heads, double scale, unsigned parts) {
  const sheetform::Texts& t = FormTexts();
  const int sheetWidth = SheetColumns * FCharWidth;
  const bool form = parts & kFormParts, page = parts & kPageParts;

  if (page) {
    ScaleFont(canvas, setup_.TitleFont, scale);
    const std::string_view title =
        FitToPage(canvas, TrimmedBlanks(HeadValue(heads, "t0").value_or(t.DefaultTitle)), FLeft);
    canvas.TextOut(FLeft + std::max(0, (sheetWidth - canvas.TextWidth(title)) / 2), FTop + 2, title);
  }

  ScaleFont(canvas, setup_.BodyFont, scale);
  if (page) {
    const std::string_view term = FitToPage(canvas, HeadValue(heads, "t1").value_or(t.DefaultTerm), FLeft);
    canvas.TextOut(FLeft + std::max(0, (sheetWidth - canvas.TextWidth(term)) / 2),
                   FTop + 2 * FLineHeight + FHalfLine, term);
  }

  auto drawValues = [&](const HeadingField& field) {
    if (!page) return;
    const std::int64_t x = FLeft + static_cast<std::int64_t>(field.ValueColumn) * FCharWidth;
    for (std::string_view line : heads)
      if (TagOf(line) == field.Tag)
        TextAt(canvas, field.ValueColumn, field.Line, FitToPage(canvas, TrimmedBlanks(FieldFrom(line, kHeadValuePos)), x));
  };
  auto drawLabel = [&](const HeadingField& field) {
    if (!form) return;
    TextAt(canvas, field.LabelColumn, field.Line, field.Label);
    RuleUnder(canvas, field.Line, field.RuleFirst, field.RuleLast);
  };
  for (const HeadingField& field : FirstHeadingFields()) {
    drawLabel(field);
    if (field.Tag) drawValues(field);
  }
  const auto& second = SecondHeadingFields();
  for (const HeadingField& field : second) drawLabel(field);
  for (int i : kSecondValueOrder) drawValues(second[static_cast<std::size_t>(i)]);
}

void GradeSheetPrinter::DrawTable(Canvas& canvas, unsigned parts) {
  const std::vector<TableColumn>& columns = TableColumns();
  const int top = FTop + kTableTopLine * FLineHeight - FHalfLine;
  const int bottom = FTop + kTableBottomLine * FLineHeight + FHalfLine;
  auto vertical = [&](int column) {
    const int x = FLeft + column * FCharWidth + quarterChar_;
    canvas.Line(x, top, x, bottom);
  };
  auto twoLine = [&](int column, const std::string& upper) {
    canvas.TextOut(FLeft + column * FCharWidth, FTop + kTableTopLine * FLineHeight, upper);
    canvas.TextOut(FLeft + column * FCharWidth, FTop + (kTableTopLine + 1) * FLineHeight, FormTexts().Grade);
  };

  if (parts & kFormParts) {
    for (int k = 0; k < 2; ++k) {
      const int b = kHalfColumns * k;
      for (const TableColumn& c : columns)
        if (!c.Grade) TextAt(canvas, b + c.HeadingColumn, kTableTopLine, c.Heading);
      for (const TableColumn& c : columns) {
        vertical(b + c.Rule);
        if (c.Grade) twoLine(b + c.HeadingColumn, c.Heading);
      }
      vertical(b + kTableRightRule);
    }

    const int left = FLeft + quarterChar_;
    const int right = FLeft + SheetColumns * FCharWidth + quarterChar_;
    canvas.Line(left, top, right, top);
    canvas.Line(left, bottom, right, bottom);
    for (int i = 1; i <= kRowsPerHalf; ++i) {
      const int y = FTop + (kTableTopLine + 2 * i) * FLineHeight + FHalfLine;
      canvas.Line(left, y, right, y);
    }
  }
  if (!(parts & kPageParts)) return;

  const Lines& lines = book_.GradeLines;
  for (int k = 0; k < 2; ++k) {
    const int b = kHalfColumns * k;
    for (int r = 0; r < kRowsPerHalf; ++r) {
      const std::int64_t idx = static_cast<std::int64_t>(FFirstRow) + kRowsPerHalf * k + r;
      if (idx >= FEndRow || idx < 0 || static_cast<std::size_t>(idx) >= rowList_.size()) continue;
      const auto lineIndex = static_cast<std::size_t>(rowList_[static_cast<std::size_t>(idx)].LineIndex);
      if (lineIndex >= lines.size()) continue;  // a layout older than the book
      std::string_view line = lines[lineIndex];
      const int y = FTop + (kFirstStudentLine + 2 * r) * FLineHeight;
      for (const TableColumn& c : columns) {
        std::string_view text = Field(line, c.Field);
        int column = b + c.TextColumn;
        if (c.Grade) {
          text = TrimmedBlanks(text);
          column += (static_cast<int>(record::GradeWidth) - static_cast<int>(text.size())) / 2;
        }
        canvas.TextOut(FLeft + column * FCharWidth, y, text);
      }
    }
  }
}

void GradeSheetPrinter::FillFigures(std::size_t pageIndex, const PageGroup& group,
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
    const long double p = ReadNumber(Field(line, kShareField));
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
      ++bands[ScoreBand(score)];
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

bool GradeSheetPrinter::PageFigures(std::int32_t PageNo, TGroupFigures& figures) const {
  if (PageNo < 1 || static_cast<std::size_t>(PageNo) > pageList_.size()) return false;
  const std::size_t index = static_cast<std::size_t>(PageNo) - 1;
  const PageGroup group = GroupOfPage(pageList_[index]);
  if (!group.Valid) return false;
  FillFigures(index, group, HeadsOf(group.CourseKey), figures);
  return true;
}

void GradeSheetPrinter::EveryGroupFigures(
    const std::function<bool(std::int32_t firstPage, const TGroupFigures& figures)>& fn) const {
  // The header lines of every course key, as HeadsOf would gather them one by one.
  const HeadIndex headsOfKey = AllHeads();
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

void GradeSheetPrinter::DrawClosingBlock(Canvas& canvas, const TGroupFigures& figures, unsigned parts) {
  if (parts & kFormParts) {
    for (const BlockLabel& label : ClosingLabels()) {
      TextAt(canvas, label.Column, label.Line, label.Text);
      RuleUnder(canvas, label.Line, label.RuleFirst, label.RuleLast);
    }
  }
  if (!(parts & kPageParts)) return;
  auto figure = [&](Place place, const std::string& text) {
    if (!text.empty()) TextAt(canvas, place.Column, place.Line, text);
  };
  figure(kCourseworkShare, figures.Coursework);
  figure(kExaminationShare, figures.Examination);
  figure(kDue, figures.Due);
  for (int b = 0; b < 5; ++b) figure({kBandColumn, kBandLines[b]}, figures.Bands[static_cast<std::size_t>(b)]);
  figure(kAverage, figures.Average);
  figure(kFailureRate, figures.FailureRate);
}

bool GradeSheetPrinter::SetGeometry(std::uint16_t Device, double Scale) {
  if (Device > DeviceScreen || !std::isfinite(Scale) || Scale <= 0) return false;
  const TDeviceMetrics& m = setup_.Metrics[Device];
  FLeft = ScaledMargin(m.MarginLeft, Scale);
  FTop = ScaledMargin(m.MarginTop, Scale);
  FHalfLine = Round(m.HalfLine * Scale);
  FHalfChar = Round(m.HalfChar * Scale);
  FCharWidth = Round(m.CharWidth * Scale);
  FLineHeight = Round(m.LineHeight * Scale);
  quarterChar_ = FHalfChar / 2;
  pageRight_ = std::max<std::int64_t>(Round(m.PageWidth * Scale),
                                      FLeft + static_cast<std::int64_t>(SheetColumns) * FCharWidth);
  return true;
}

void GradeSheetPrinter::DrawForm(Canvas& canvas, std::uint16_t Device, double Scale) {
  if (!SetGeometry(Device, Scale)) return;
  DrawHeading(canvas, {}, Scale, kFormParts);
  DrawTable(canvas, kFormParts);
  DrawClosingBlock(canvas, {}, kFormParts);
}

bool GradeSheetPrinter::DrawPage(Canvas& canvas, std::int32_t PageNo, std::uint16_t Device, double Scale) {
  if (!SetGeometry(Device, Scale)) return true;
  if (PageNo < 1 || static_cast<std::size_t>(PageNo) > pageList_.size()) return true;
  const auto index = static_cast<std::size_t>(PageNo) - 1;
  FEndRow = index + 1 < pageList_.size() ? pageList_[index + 1].FirstRow
                                         : static_cast<std::int32_t>(rowList_.size());
  FFirstRow = pageList_[index].FirstRow;

  const PageGroup group = GroupOfPage(pageList_[index]);
  if (!group.Valid) return true;  // laid out for another book or sheet mode

  const unsigned parts = formApart_ ? kPageParts : kFormParts | kPageParts;
  const CourseHeads heads = HeadsOf(group.CourseKey);
  DrawHeading(canvas, heads, Scale, parts);
  DrawTable(canvas, parts);
  if (!headIndex_ || figuresGroup_ != pageList_[index].GroupIndex) FillFigures(index, group, heads, figures_);
  figuresGroup_ = headIndex_ ? pageList_[index].GroupIndex : -1;  // indexed: a group's rows counted once
  DrawClosingBlock(canvas, figures_, parts);
  return true;
}
