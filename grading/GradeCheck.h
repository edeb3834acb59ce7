#pragma once
// The check of one student row: which of its grade texts the school's system
// will not take as meant, and whether its total is what the total rule gives
// at the course's share. Nothing is changed here; the findings only say what
// looks wrong and why, so that the teacher decides.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The grade editor's list, in its order, as GBK: the words the file may hold
// besides plain numbers.
const std::array<std::string, 18>& EditorWords();

// True for a text (already trimmed) that is one of EditorWords().
bool IsEditorWord(std::string_view trimmed);

// True for a text (already trimmed) made only of ASCII or full-width digits
// with at most one decimal point (ASCII "." or full-width "．") after the
// first digit: "85", "８５", "59.5", "８５．５", "85.". Not "", ".5", "-5",
// "85分", "8 5". `ascii`, when given, gets the number in ASCII ("85.5").
bool IsPlainNumber(std::string_view trimmed, std::string* ascii = nullptr);

// True for a share (already trimmed) the total rule can weigh with: ASCII
// digits with at most one decimal point, from 0 to 100 ("30", "12.5", "100"),
// at most the 6 bytes of its field.
// Not "", "3O", "150", "-5", "３０". `partial` also takes what typing such a
// share passes through: the empty text and a lone point.
bool IsShareNumber(std::string_view trimmed, bool partial = false);

// True for a share as the file holds it (blanks around) that the total rule
// cannot weigh with: not empty (no share reads as 0) and no share number.
bool IsBadShare(std::string_view share);

enum class FindingKind {
  Unrecognised,      // neither a plain number nor one of the editor's words
  OutOfRange,        // a plain number above 100
  TotalMismatch,     // the total is not what the total rule gives at the share
  ReadAsZero,        // the total counts a word or empty grade as 0
  DuplicateStudent,  // the student number occurs earlier in the course
  BadShare,          // the course's coursework share is no number from 0 to 100
};

enum class FindingColumn { None, Coursework, Exam, Total, Share };

// "unrecognised", "out-of-range", "total-mismatch", "read-as-zero",
// "duplicate-student", "bad-share".
std::string_view KindName(FindingKind kind);
// "coursework", "exam", "total", "share", "" for None.
std::string_view ColumnName(FindingColumn column);

struct GradeFinding {
  FindingKind Kind = FindingKind::Unrecognised;
  FindingColumn Column = FindingColumn::None;
  // The record in GradeLines and its course key; npos and empty for the
  // check of a row that is not (yet) tied to a record.
  std::size_t LineIndex = static_cast<std::size_t>(-1);
  std::string CourseKey;
  std::string Text;         // the cell, GBK, blanks trimmed
  std::string Expected;     // total-mismatch: the total the rule gives ("66")
  std::string Explanation;  // UTF-8, for the window and the terminal
};

// The check of the rows of one course: the share is read once, so checking
// many rows costs only the rows.
class RowCheck {
 public:
  // `share` is the course's coursework share as the window shows it.
  explicit RowCheck(std::string_view share);

  // Appends the findings of one row (its three grade cells as they stand) to
  // `out`, in column order: coursework, examination, total, then the total's
  // agreement with the other two. Returns how many were appended.
  std::size_t Run(std::string_view coursework, std::string_view examination, std::string_view total,
                  std::vector<GradeFinding>& out) const;

 private:
  long double share_;
  bool courseworkCounts_;   // the share gives coursework a weight
  bool examinationCounts_;  // the rest to 100 gives the examination one
};

// The check of one row after an edit, with the share of the course shown.
std::vector<GradeFinding> CheckRow(std::string_view share, std::string_view coursework,
                                   std::string_view examination, std::string_view total);

// True when `total` (blanks aside) is what the total rule gives for these two
// grades at some whole share from 0 to 100: a total the program computed
// before the share changed. A total that fits no share was typed (or came
// from elsewhere); a recompute would overwrite it.
bool TotalFitsSomeShare(std::string_view coursework, std::string_view examination, std::string_view total);
