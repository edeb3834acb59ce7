#include "grading/GradeCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

const std::array<std::string, 18>& EditorWords() {
  static const std::array<std::string, 18> words = {
      Gbk("优"),   Gbk("良"),   Gbk("中"),   Gbk("及格"), Gbk("不及格"), Gbk("合格"),
      Gbk("不合格"), Gbk("通过"), Gbk("不通过"), Gbk("A"),    Gbk("B"),      Gbk("C"),
      Gbk("D"),    Gbk("F"),    Gbk("缺考"), Gbk("缓考"), Gbk("旷考"),   Gbk("作弊"),
  };
  return words;
}

bool IsEditorWord(std::string_view trimmed) {
  const auto& words = EditorWords();
  return std::find(words.begin(), words.end(), trimmed) != words.end();
}

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A full-width digit ０..９ at `i` (GBK A3B0..A3B9).
bool IsWideDigitAt(std::string_view text, std::size_t i) {
  return i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xA3 &&
         static_cast<unsigned char>(text[i + 1]) >= 0xB0 && static_cast<unsigned char>(text[i + 1]) <= 0xB9;
}

// A plain number's digits as ASCII, the whole part and the fraction apart;
// false when the text is not a plain number.
bool PlainDigits(std::string_view text, std::string* whole, std::string* fraction) {
  bool point = false;
  bool digit = false;
  std::size_t i = 0;
  while (i < text.size()) {
    char d;
    if (IsAsciiDigit(text[i])) {
      d = text[i];
      i += 1;
    } else if (IsWideDigitAt(text, i)) {
      d = static_cast<char>('0' + (static_cast<unsigned char>(text[i + 1]) - 0xB0));
      i += 2;
    } else if (text[i] == '.' && digit && !point) {
      point = true;
      i += 1;
      continue;
    } else {
      return false;
    }
    digit = true;
    if (std::string* into = point ? fraction : whole) into->push_back(d);
  }
  return digit;
}

// A plain number above 100, decided on its digits so that no rounding can
// hide 100.000001.
bool AboveHundred(std::string_view text) {
  std::string whole, fraction;
  if (!PlainDigits(text, &whole, &fraction)) return false;
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() != 3) return whole.size() > 3;
  if (whole != "100") return whole > "100";
  return fraction.find_first_not_of('0') != std::string::npos;
}

// What the total rule makes of a grade that is not a number to it: the empty
// text, a word, a full-width number all count as 0. A text that starts with a
// sign or a point is read as a number and is not meant here.
bool ReadAsZero(std::string_view trimmed) {
  return (trimmed.empty() || !IsAsciiDigit(trimmed.front())) && ReadNumber(trimmed) == 0.0L;
}

std::string Quoted(std::string_view gbk) { return "'" + GbkToUtf8(gbk) + "'"; }

// A number the total rule read, for an explanation: whole numbers without a
// point, others with as many digits as they need.
std::string NumberText(long double value) {
  char buffer[64];
  if (std::fabs(value) < 1e15L && value == std::floor(value)) {
    std::snprintf(buffer, sizeof buffer, "%.0Lf", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.6Lg", value);
  }
  return buffer;
}

GradeFinding Make(FindingKind kind, FindingColumn column, std::string_view text, std::string explanation) {
  GradeFinding f;
  f.Kind = kind;
  f.Column = column;
  f.Text = std::string(text);
  f.Explanation = std::move(explanation);
  return f;
}

}  // namespace

bool IsPlainNumber(std::string_view trimmed) { return PlainDigits(trimmed, nullptr, nullptr); }

std::string_view KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::Unrecognised: return "unrecognised";
    case FindingKind::OutOfRange: return "out-of-range";
    case FindingKind::TotalMismatch: return "total-mismatch";
    case FindingKind::ReadAsZero: return "read-as-zero";
    case FindingKind::DuplicateStudent: return "duplicate-student";
  }
  return {};
}

std::string_view ColumnName(FindingColumn column) {
  switch (column) {
    case FindingColumn::None: return "";
    case FindingColumn::Coursework: return "coursework";
    case FindingColumn::Exam: return "exam";
    case FindingColumn::Total: return "total";
  }
  return {};
}

RowCheck::RowCheck(std::string_view share)
    : share_(ReadNumber(share)),
      courseworkCounts_(share_ / 100.0L != 0.0L),
      examinationCounts_(1.0L - share_ / 100.0L != 0.0L) {}

std::size_t RowCheck::Run(std::string_view coursework, std::string_view examination, std::string_view total,
                          std::vector<GradeFinding>& out) const {
  const std::size_t before = out.size();
  struct Cell {
    FindingColumn column;
    std::string_view text;  // trimmed
    bool number;            // a plain number
    bool counts;            // the total rule weighs it
  };
  Cell cells[3] = {
      {FindingColumn::Coursework, TrimmedBlanks(coursework), false, courseworkCounts_},
      {FindingColumn::Exam, TrimmedBlanks(examination), false, examinationCounts_},
      {FindingColumn::Total, TrimmedBlanks(total), false, false},
  };
  for (Cell& cell : cells) {
    cell.number = IsPlainNumber(cell.text);
    if (cell.number) {
      if (AboveHundred(cell.text)) {
        out.push_back(Make(FindingKind::OutOfRange, cell.column, cell.text, "超出0–100"));
      }
    } else if (!cell.text.empty() && !IsEditorWord(cell.text)) {
      std::string why = "无法识别的成绩";
      // "8O" or "70 71" look like a number, and the total takes their start.
      if (cell.counts && !ReadAsZero(cell.text)) {
        why += "，总成绩按 " + NumberText(ReadNumber(cell.text)) + " 计算";
      }
      out.push_back(Make(FindingKind::Unrecognised, cell.column, cell.text, std::move(why)));
    }
  }
  const Cell& cw = cells[0];
  const Cell& ex = cells[1];
  const Cell& tot = cells[2];

  if (cw.number && ex.number) {
    const std::string expected = std::to_string(WeightedTotal(share_, ReadNumber(cw.text), ReadNumber(ex.text)));
    if (tot.text != expected) {
      GradeFinding f = Make(FindingKind::TotalMismatch, FindingColumn::Total, tot.text,
                            (tot.text.empty() ? "总成绩为空，应为 " : "总成绩与当前比例不符，应为 ") + expected);
      f.Expected = expected;
      out.push_back(std::move(f));
    }
  }

  // A numeric total over a grade it took as 0. Only where the share gives
  // that grade a weight (an examination-only course ignores its coursework),
  // and not where no weighed grade is there at all: that total was typed.
  const bool typed = (!cw.counts || cw.text.empty()) && (!ex.counts || ex.text.empty());
  if (tot.number && !typed) {
    std::string parts;
    bool single = true;
    for (const Cell* cell : {&cw, &ex}) {
      if (!cell->counts || !ReadAsZero(cell->text)) continue;
      if (!parts.empty()) {
        parts += "、";
        single = false;
      }
      parts += cell->column == FindingColumn::Coursework ? "平时成绩" : "考试成绩";
      if (cell->text.empty()) {
        parts += "为空";
        single = false;
      } else {
        parts += Quoted(cell->text);
      }
    }
    if (!parts.empty()) {
      out.push_back(Make(FindingKind::ReadAsZero, FindingColumn::Total, tot.text,
                         parts + (single ? "按0计入总成绩" : "，按0计入总成绩")));
    }
  }
  return out.size() - before;
}

std::vector<GradeFinding> CheckRow(std::string_view share, std::string_view coursework,
                                   std::string_view examination, std::string_view total) {
  std::vector<GradeFinding> findings;
  RowCheck(share).Run(coursework, examination, total, findings);
  return findings;
}
