#pragma once
// Grades from a spreadsheet into one course of the grade book. First a
// preview that changes nothing (which rows match which students, old and new
// grades, what will not be applied and why), then the apply, which writes
// each changed row through exactly like an edit of the grid and returns the
// record changes, so that an undo can put them back.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GradeBook.h"

namespace exchange {

// A score cell the grade file takes, blanks around it (TrimGbk) removed: a
// plain number (IsPlainNumber of grading/GradeCheck.h, written back in
// ASCII) or one of the grade editor's 18 words. nullopt for anything else.
// The text may be longer than the 6-byte field.
std::optional<std::string> AcceptedScore(std::string_view gbk);

// The columns to take. Empty: found from the heading (学号 / student,
// 平时 / coursework, 考试 / 卷面 / exam). Otherwise a column number from 1, or
// the heading text (GBK; compared without blanks at the ends, ASCII letters
// in any case). Naming either score column imports only the named ones.
struct ImportColumns {
  std::string Student;
  std::string Coursework;
  std::string Examination;
};

enum class ImportFailure {
  None,
  ReadFailed,       // the file cannot be read (missing, no permission, a folder, a device)
  TooLarge,         // beyond kMaxImportBytes
  Empty,            // no bytes, or nothing but blanks
  NotText,          // binary
  Workbook,         // an Excel workbook instead of its CSV
  UnknownEncoding,  // neither UTF-8 nor GBK
  UnclosedQuote,    // a quoted field that never ends
  NoStudentColumn,  // no heading names the student numbers
  NoScoreColumn,    // no heading names a coursework or examination score
  NoSuchColumn,     // a column the caller named is not there
  NoSuchCourse,     // the course key is not a course of the book
  BadShare,         // the course's share is no number from 0 to 100: no total could be computed
  Cancelled,        // the progress callback said stop
};

// Why a row of the CSV is not applied.
enum class RowIssue {
  NotInCourse,  // its student number is no student of the course (or empty)
  Duplicate,    // the student number stands on more than one row: none of them is applied
  Unreadable,   // a score is neither a plain number nor a grade word
  NotGbk,       // a score has characters the grade file cannot hold
  TooLong,      // a score longer than the 6 bytes of its field
};
constexpr std::size_t kRowIssueCount = 5;

// The column a score came from.
enum class ScoreColumn { None, Coursework, Examination };

struct MatchedRow {
  std::size_t Line = 0;       // line of the CSV where the row begins, from 1
  std::size_t LineIndex = 0;  // the student's record in GradeLines
  std::string Record;         // the record as it was at the preview
  std::string Number, Name;   // of the record, blanks trimmed
  // Coursework, examination and total: the fields as they stand, and what
  // applying writes (the CSV's score, or the field as it stands where the CSV
  // gives none; the total recomputed when coursework or examination change).
  std::array<std::string, 3> Old, New;
  bool Changed = false;  // applying rewrites the record
};

struct SkippedRow {
  std::size_t Line = 0;
  RowIssue Issue = RowIssue::NotInCourse;
  std::string Number;  // the CSV's student number, blanks trimmed (GBK)
  ScoreColumn Column = ScoreColumn::None;
  // The score at fault, GBK; characters GBK cannot hold show as '?'.
  std::string Text;
};

struct MissingStudent {
  std::size_t LineIndex = 0;
  std::string Number, Name;  // blanks trimmed
};

// Skipped rows are listed up to this many (the earliest by line); the
// counts are always complete.
constexpr std::size_t kListedSkippedRows = 10000;
// Larger files are refused before they are read.
constexpr std::uint64_t kMaxImportBytes = 128ull << 20;

struct ImportPreview {
  ImportFailure Failure = ImportFailure::None;
  std::string Message;  // UTF-8 display text; empty on success

  std::string CourseKey;
  std::string Share;                // the course's share the totals are computed at
  const char* Encoding = "";        // "UTF-8", "UTF-8 BOM", "UTF-16", "GBK"
  char Separator = ',';
  std::size_t HeadingLine = 0;      // 0: no heading line (columns named by number)
  // 1-based; 0 when the column is not imported.
  std::size_t StudentColumn = 0, CourseworkColumn = 0, ExaminationColumn = 0;
  std::array<std::string, 3> Headings;  // of those columns, GBK (empty without a heading)
  // Every cell of the heading line, blanks trimmed (GBK), for choosing the
  // score columns by hand. Also given when the heading names the student
  // numbers but no score (NoScoreColumn), which is when it is needed most.
  std::vector<std::string> ColumnNames;

  std::size_t Rows = 0;  // data rows read, blank rows not counted
  std::vector<MatchedRow> Matched;
  std::vector<SkippedRow> Skipped;  // by line; at most kListedSkippedRows
  std::array<std::size_t, kRowIssueCount> IssueCounts{};
  std::vector<MissingStudent> Missing;  // course order

  bool Ok() const { return Failure == ImportFailure::None; }
  std::size_t ChangedCount() const;
  std::size_t Count(RowIssue issue) const { return IssueCounts[static_cast<std::size_t>(issue)]; }
  std::size_t SkippedCount() const;
  std::size_t SkippedNotListed() const { return SkippedCount() - Skipped.size(); }
};

// Told how far reading has got (bytes of `total`); returns false to cancel.
using ImportProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The preview of importing the CSV file at `path` into the course `courseKey`
// (a key of book.CourseKeys, which must be built). Changes nothing. The
// message of a failure starts with the path as DisplayPath shows it.
ImportPreview PreviewImport(const GradeBook& book, std::string_view courseKey, const std::string& path,
                            const ImportColumns& columns, const ImportProgress& progress = {});

// The same on the bytes of a CSV file; messages without a path.
ImportPreview PreviewImportBytes(const GradeBook& book, std::string_view courseKey, std::string_view bytes,
                                 const ImportColumns& columns, const ImportProgress& progress = {});

struct ApplyResult {
  bool Ok = true;
  std::string Message;  // UTF-8 display text, when not Ok
  std::vector<RecordChange> Changes;  // one per rewritten record, in order
};

// Writes every changed row of a successful preview into the book, as an
// edit would (GradeBook::RewriteGrades, which sets Modified). Refuses, and
// changes nothing, when a record has changed since the preview.
ApplyResult ApplyImport(GradeBook& book, const ImportPreview& preview);

// Puts the records of an apply back as they were, last change first.
// Refuses, and changes nothing, when a record no longer holds what the
// apply wrote.
bool UndoImport(GradeBook& book, const std::vector<RecordChange>& changes);

// True when the heading leaves no doubt about the scores: both score columns
// were found, and no other column's heading would have been taken for one.
bool ScoreColumnsClear(const ImportPreview& preview);

// Descriptions for the window and the batch tool, UTF-8.
std::string_view RowIssueText(RowIssue issue);
std::string_view ScoreColumnText(ScoreColumn column);  // "平时成绩", "考试成绩"

}  // namespace exchange
