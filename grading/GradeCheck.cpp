#include "grading/GradeCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"
#include "text/Texts.h"

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

// The character at `i` when it is a full-width digit ０..９ (GBK A3B0..A3B9)
// or the full-width point ． (A3AE), as ASCII; 0 otherwise.
char WideAt(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size() || static_cast<unsigned char>(text[i]) != 0xA3) return 0;
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  if (trail >= 0xB0 && trail <= 0xB9) return static_cast<char>('0' + (trail - 0xB0));
  return trail == 0xAE ? '.' : 0;
}

// A plain number above 100, decided on its digits so that no rounding can
// hide 100.000001.
bool AboveHundred(std::string_view text) {
  std::string ascii;
  if (!IsPlainNumber(text, &ascii)) return false;
  const std::size_t point = ascii.find('.');
  std::string whole = ascii.substr(0, point);
  const std::string fraction = point == std::string::npos ? std::string() : ascii.substr(point + 1);
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

bool IsPlainNumber(std::string_view trimmed, std::string* ascii) {
  std::string out;
  bool point = false;
  for (std::size_t i = 0; i < trimmed.size();) {
    char c = trimmed[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      c = WideAt(trimmed, i);
      if (c == 0) return false;
      i += 2;
    } else {
      i += 1;
    }
    if (c == '.') {
      // One point, after a digit: ".5" is no grade the sheet counts.
      if (point || out.empty()) return false;
      point = true;
    } else if (!IsAsciiDigit(c)) {
      return false;
    }
    out.push_back(c);
  }
  if (out.empty()) return false;
  if (ascii != nullptr) *ascii = std::move(out);
  return true;
}

std::string_view KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::Unrecognised: return "unrecognised";
    case FindingKind::OutOfRange: return "out-of-range";
    case FindingKind::TotalMismatch: return "total-mismatch";
    case FindingKind::ReadAsZero: return "read-as-zero";
    case FindingKind::DuplicateStudent: return "duplicate-student";
    case FindingKind::BadShare: return "bad-share";
  }
  return {};
}

std::string_view ColumnName(FindingColumn column) {
  switch (column) {
    case FindingColumn::None: return "";
    case FindingColumn::Coursework: return "coursework";
    case FindingColumn::Exam: return "exam";
    case FindingColumn::Total: return "total";
    case FindingColumn::Share: return "share";
  }
  return {};
}

bool IsShareNumber(std::string_view trimmed, bool partial) {
  if (trimmed.size() > 6) return false;  // the width of the share's field
  bool point = false;
  bool digit = false;
  for (char c : trimmed) {
    if (c == '.' && !point) {
      point = true;
    } else if (IsAsciiDigit(c)) {
      digit = true;
    } else {
      return false;
    }
  }
  if (!digit) return partial && trimmed.size() <= 1;
  return ReadNumber(trimmed) <= 100.0L;
}

bool IsBadShare(std::string_view share) {
  const std::string_view trimmed = TrimmedBlanks(share);
  return !trimmed.empty() && !IsShareNumber(trimmed);
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
        out.push_back(Make(FindingKind::OutOfRange, cell.column, cell.text, std::string(texts::kOutOfRange)));
      }
    } else if (!cell.text.empty() && !IsEditorWord(cell.text)) {
      std::string why(texts::kUnrecognised);
      // "8O" or "70 71" look like a number, and the total takes their start.
      if (cell.counts && !ReadAsZero(cell.text)) {
        why += texts::TotalReadsAs(NumberText(ReadNumber(cell.text)));
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
                            std::string(tot.text.empty() ? texts::kTotalEmpty : texts::kTotalMismatch) + expected);
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
        parts += texts::kListSeparator;
        single = false;
      }
      parts += cell->column == FindingColumn::Coursework ? texts::kCourseworkGrade : texts::kExamGrade;
      if (cell->text.empty()) {
        parts += texts::kGradeEmpty;
        single = false;
      } else {
        parts += Quoted(cell->text);
      }
    }
    if (!parts.empty()) {
      out.push_back(Make(FindingKind::ReadAsZero, FindingColumn::Total, tot.text,
                         parts + std::string(single ? texts::kCountedAsZero : texts::kCountedAsZeroAfterList)));
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

bool TotalFitsSomeShare(std::string_view coursework, std::string_view examination, std::string_view total) {
  const std::string_view wanted = TrimmedBlanks(total);
  if (wanted.empty()) return false;
  // The grades are read once; each share costs one weighting (a share edit
  // checks every row of the course at each keystroke).
  const long double c = ReadNumber(coursework);
  const long double e = ReadNumber(examination);
  for (int share = 0; share <= 100; ++share) {
    if (std::to_string(WeightedTotal(share, c, e)) == wanted) return true;
  }
  return false;
}
