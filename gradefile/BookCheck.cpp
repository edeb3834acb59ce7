#include "gradefile/BookCheck.h"

#include <optional>
#include <string>
#include <functional>
#include <unordered_map>

#include "gradefile/Record.h"
#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace {

constexpr std::size_t kNoRecord = static_cast<std::size_t>(-1);

// What the check keeps per course key while it walks the records.
struct CourseState {
  RowCheck check;
  std::size_t rows = 0;  // records of the key seen so far: the last one's place in the course, from 1
};

// The student numbers met so far, per course key: an open-addressing table of
// record indices sized once, so that a large book costs no allocation per
// record.
class NumbersSeen {
 public:
  NumbersSeen(const Lines& lines, std::size_t records) : lines_(lines) {
    std::size_t capacity = 16;
    while (capacity < records * 2) capacity <<= 1;
    slots_.assign(capacity, Slot{});
  }

  // The place in its course (from 1, as the course lists its students)
  // where the student number of record `line` (at place `row`) first stood;
  // 0 when this is its first record.
  std::size_t FirstRow(std::size_t line, std::size_t row) {
    const std::string_view key = KeyOf(lines_[line]);
    const std::string_view number = Field(lines_[line], record::Number);
    const std::size_t hash =
        std::hash<std::string_view>{}(key) ^ (std::hash<std::string_view>{}(number) * 0x9E3779B97F4A7C15ULL);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.line == kNoRecord) {
        slot = {line, row, hash};
        return 0;
      }
      if (slot.hash != hash) continue;
      const std::string_view other = lines_[slot.line];
      if (KeyOf(other) == key && Field(other, record::Number) == number) return slot.row;
    }
  }

 private:
  struct Slot {
    std::size_t line = kNoRecord;
    std::size_t row = 0;
    std::size_t hash = 0;  // spares a look at the other record on most collisions
  };
  const Lines& lines_;
  std::vector<Slot> slots_;
};

// Checks the records (all, or those of `only`) in order and appends their
// findings to `out`.
void CheckRecords(const GradeBook& book, std::optional<std::string_view> only, std::vector<GradeFinding>& out) {
  static const std::string t9 = "t9";
  // The share of every key at once: the last "t9" line wins, as on screen.
  std::unordered_map<std::string_view, std::string_view> shares;
  std::vector<std::string_view> keys;  // with a "t9" line, in order of their first
  for (const auto& line : book.HeadLines) {
    if (TagOf(line) != t9) continue;
    if (only && KeyOf(line) != *only) continue;
    const auto [at, first] = shares.insert_or_assign(KeyOf(line), TrimmedBlanks(Field(line, kShareField)));
    if (first) keys.push_back(at->first);
  }
  // A share no total can be weighed with comes first: every total of its
  // course follows from it.
  for (std::string_view key : keys) {
    const std::string_view share = shares[key];
    if (!IsBadShare(share)) continue;
    GradeFinding f;
    f.Kind = FindingKind::BadShare;
    f.Column = FindingColumn::Share;
    f.CourseKey = std::string(key);
    f.Text = std::string(share);
    f.Explanation = std::string(texts::kBadShare);
    out.push_back(std::move(f));
  }

  std::vector<std::size_t> records;
  if (only) {
    for (std::size_t j = 0; j < book.GradeLines.size(); ++j) {
      if (KeyOf(book.GradeLines[j]) == *only) records.push_back(j);
    }
  } else {
    records.resize(book.GradeLines.size());
    for (std::size_t j = 0; j < records.size(); ++j) records[j] = j;
  }

  std::unordered_map<std::string_view, CourseState> courses;
  NumbersSeen numbers(book.GradeLines, records.size());
  // Records of a course mostly stand together; the map is consulted only
  // where the key changes.
  std::string_view currentKey;
  CourseState* current = nullptr;

  for (std::size_t j : records) {
    std::string_view line = book.GradeLines[j];
    std::string_view key = KeyOf(line);
    if (current == nullptr || key != currentKey) {
      auto share = shares.find(key);
      current = &courses.try_emplace(key, CourseState{RowCheck(share == shares.end() ? "" : share->second)})
                     .first->second;
      currentKey = key;
    }
    const std::size_t row = ++current->rows;
    const std::size_t first = out.size();
    current->check.Run(Field(line, record::Coursework), Field(line, record::Examination), Field(line, record::Total), out);

    if (const std::size_t earlier = numbers.FirstRow(j, row); earlier != 0) {
      GradeFinding f;
      f.Kind = FindingKind::DuplicateStudent;
      f.Column = FindingColumn::None;
      f.Text = std::string(TrimmedBlanks(Field(line, record::Number)));
      f.Explanation = texts::DuplicateStudent(earlier);
      out.push_back(std::move(f));
    }
    for (std::size_t i = first; i < out.size(); ++i) {
      out[i].LineIndex = j;
      out[i].CourseKey = std::string(key);
    }
  }
}

}  // namespace

std::vector<GradeFinding> CheckBook(const GradeBook& book) {
  std::vector<GradeFinding> findings;
  CheckRecords(book, std::nullopt, findings);
  return findings;
}

std::vector<GradeFinding> CheckCourse(const GradeBook& book, std::string_view key) {
  std::vector<GradeFinding> findings;
  CheckRecords(book, key, findings);
  return findings;
}

std::vector<RecordChange> RecomputeTotals(GradeBook& book, std::string_view key) {
  const std::string share = book.Share(key);
  std::vector<RecordChange> changes;
  if (IsBadShare(share)) return changes;
  std::size_t last = kNoRecord;
  for (const GradeFinding& f : CheckCourse(book, key)) {
    if (f.Kind != FindingKind::TotalMismatch || f.LineIndex == last) continue;
    last = f.LineIndex;
    const std::string& line = book.GradeLines[f.LineIndex];
    const std::string coursework(Field(line, record::Coursework));
    const std::string examination(Field(line, record::Examination));
    const std::string total = ComputeTotal(share, coursework, examination);
    if (!record::FitsGradeField(total)) continue;  // "9e999": no total the field can hold
    changes.push_back(book.RewriteGrades(f.LineIndex, coursework, examination, total));
  }
  return changes;
}

std::vector<FindingRow> FindingRows(const GradeBook& book, const std::vector<GradeFinding>& findings) {
  // The name of every course once: its last "tk" line wins, as in the list.
  std::unordered_map<std::string_view, std::string> names;
  for (const std::string& line : book.HeadLines) {
    if (TagOf(line) == "tk") names[KeyOf(line)] = GbkToUtf8(TrimmedBlanks(Field(line, kHeadValuePos, 31)));
  }
  std::vector<FindingRow> rows;
  rows.reserve(findings.size());
  for (const GradeFinding& f : findings) {
    FindingRow& row = rows.emplace_back();
    const auto name = names.find(f.CourseKey);
    row[0] = name != names.end() && !name->second.empty() ? name->second : GbkToUtf8(f.CourseKey);
    if (f.LineIndex < book.GradeLines.size()) {
      const std::string_view record = book.GradeLines[f.LineIndex];
      row[1] = GbkToUtf8(TrimmedBlanks(Field(record, record::Number)));
      row[2] = GbkToUtf8(TrimmedBlanks(Field(record, record::Name)));
    }
    switch (f.Column) {
      case FindingColumn::None: row[3] = texts::kNumberColumn; break;
      case FindingColumn::Coursework: row[3] = texts::kCourseworkGrade; break;
      case FindingColumn::Exam: row[3] = texts::kExamGrade; break;
      case FindingColumn::Total: row[3] = texts::kTotalColumn; break;
      case FindingColumn::Share: row[3] = texts::kShareColumn; break;
    }
    row[4] = GbkToUtf8(f.Text);
    row[5] = f.Explanation;
  }
  return rows;
}
