#include "exchange/Import.h"

#include <algorithm>
#include <unordered_map>

#include "exchange/Csv.h"
#include "exchange/ImportColumns.h"
#include "exchange/TextCells.h"
#include "gradefile/FileMessages.h"
#include "gradefile/Record.h"
#include "grading/GradeCheck.h"
#include "grading/Weighting.h"
#include "platform/Files.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace exchange {

using namespace importing;

namespace {

// How far to look for the heading line: marking systems put a title or a
// date above it, never pages of it.
constexpr std::size_t kHeadingSearchLines = 20;
// Progress is told about this often (bytes).
constexpr std::size_t kProgressStep = 1 << 16;

// ---- the course -------------------------------------------------------------

struct Student {
  std::size_t lineIndex = 0;
  // The first row of the CSV that names the student, cells as read.
  bool seen = false;
  bool duplicated = false;
  std::size_t line = 0;
  std::string coursework, examination;
};

ImportPreview Failed(ImportPreview preview, ImportFailure failure, std::size_t line = 0, const Want* missing = nullptr) {
  preview.Failure = failure;
  preview.Message = FailureText(failure, line, missing);
  preview.Matched.clear();
  preview.Skipped.clear();
  preview.Missing.clear();
  preview.IssueCounts = {};
  preview.Rows = 0;
  return preview;
}

// ---- the preview ------------------------------------------------------------

class Previewer {
 public:
  Previewer(const GradeBook& book, std::string_view key, const ImportColumns& columns,
            const ImportProgress& progress)
      : book_(book), progress_(progress) {
    preview_.CourseKey = std::string(key);
    const bool named = !TrimGbk(columns.Coursework).empty() || !TrimGbk(columns.Examination).empty();
    wants_ = {WantOf(columns.Student, true), WantOf(columns.Coursework, !named),
              WantOf(columns.Examination, !named)};
  }

  ImportPreview Run(std::string_view bytes) {
    if (std::find(book_.CourseKeys.begin(), book_.CourseKeys.end(), preview_.CourseKey) == book_.CourseKeys.end())
      return Failed(std::move(preview_), ImportFailure::NoSuchCourse);
    csv_ = DecodeCsvBytes(bytes);
    switch (csv_.Trouble) {
      case CsvText::Problem::None: break;
      case CsvText::Problem::Empty: return Failed(std::move(preview_), ImportFailure::Empty);
      case CsvText::Problem::NotText: return Failed(std::move(preview_), ImportFailure::NotText);
      case CsvText::Problem::Workbook: return Failed(std::move(preview_), ImportFailure::Workbook);
      case CsvText::Problem::UnknownEncoding: return Failed(std::move(preview_), ImportFailure::UnknownEncoding);
    }
    preview_.Encoding = csv_.EncodingName;
    ReadCourse();
    if (IsBadShare(preview_.Share)) return Failed(std::move(preview_), ImportFailure::BadShare);

    std::size_t dataOffset = 0, dataLine = 1;
    if (ImportFailure f = FindHeading(dataOffset, dataLine); f != ImportFailure::None)
      return Failed(std::move(preview_), f, failureLine_, missing_);

    CsvParser parser(csv_.Text(), preview_.Separator);
    parser.Reset(dataOffset, dataLine);
    std::vector<std::string> fields;
    std::size_t nextReport = 0;
    for (;;) {
      if (progress_ && parser.Offset() >= nextReport) {
        if (!progress_(parser.Offset(), csv_.Text().size()))
          return Failed(std::move(preview_), ImportFailure::Cancelled);
        nextReport = parser.Offset() + kProgressStep;
      }
      const CsvParser::Status status = parser.Next(fields);
      if (status == CsvParser::Status::End) break;
      if (status == CsvParser::Status::UnclosedQuote)
        return Failed(std::move(preview_), ImportFailure::UnclosedQuote, parser.RecordLine());
      Row(fields, parser.RecordLine());
    }
    if (progress_ && !progress_(csv_.Text().size(), csv_.Text().size()))
      return Failed(std::move(preview_), ImportFailure::Cancelled);
    Finish();
    return std::move(preview_);
  }

 private:
  void ReadCourse() {
    preview_.Share = book_.Share(preview_.CourseKey);
    for (std::size_t j = 0; j < book_.GradeLines.size(); ++j) {
      const std::string& line = book_.GradeLines[j];
      if (KeyOf(line) != preview_.CourseKey) continue;
      std::string number = StudentNumberKey(Field(line, record::Number));
      if (number.empty()) continue;
      // Two records with one number: the first takes the grades, as an edit
      // of the grid writes into the first.
      if (byNumber_.try_emplace(std::move(number), students_.size()).second) {
        students_.emplace_back();
        students_.back().lineIndex = j;
      }
    }
  }

  // The student a number cell names: an index into students_, or npos.
  std::size_t StudentOf(std::string_view cell) const {
    const std::optional<std::string> gbk = CellGbk(cell);
    if (!gbk) return kNone;
    auto it = byNumber_.find(StudentNumberKey(*gbk));
    return it == byNumber_.end() ? kNone : it->second;
  }
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::optional<std::string> CellGbk(std::string_view cell) const {
    if (csv_.Encoding == CsvEncoding::Gbk) return std::string(cell);
    return Utf8ToGbk(cell);
  }
  std::string ShownGbk(std::string_view cell) const {
    return csv_.Encoding == CsvEncoding::Gbk ? std::string(cell) : LossyGbk(cell);
  }

  // Finds the heading among the first lines and the separator it uses;
  // `offset` and `line` then point after it (or at the first data line when
  // there is none).
  ImportFailure FindHeading(std::size_t& offset, std::size_t& line) {
    const bool positional = wants_[kStudent].kind == Want::Number && wants_[kCoursework].kind != Want::Auto &&
                            wants_[kCoursework].kind != Want::Text && wants_[kExamination].kind != Want::Text;
    std::vector<std::string> fields, keys;
    std::size_t pos = 0, at = 1, looked = 0;
    Resolution firstTry;
    bool tried = false, candidate = false;
    while (looked < kHeadingSearchLines) {
      const char sep = DetectSeparator(csv_.Text(), pos);
      CsvParser parser(csv_.Text(), sep);
      parser.Reset(pos, at);
      const CsvParser::Status status = parser.Next(fields);
      if (status == CsvParser::Status::End) break;
      if (status == CsvParser::Status::UnclosedQuote) {
        failureLine_ = parser.RecordLine();
        return ImportFailure::UnclosedQuote;
      }
      if (IsBlankRow(fields)) {
        pos = parser.Offset();
        at = parser.NextLine();
        continue;
      }
      ++looked;
      keys.clear();
      for (const std::string& f : fields) keys.push_back(HeadingKey(ShownGbk(f)));
      Resolution r = Resolve(wants_, keys);
      if (positional) {
        // Columns named by number: the first line is the heading unless it
        // already names a student of the course.
        const std::size_t c = r.column[kStudent];
        const bool data = c <= fields.size() && StudentOf(fields[c - 1]) != kNone;
        if (data) {
          preview_.Separator = sep;
          Adopt(r, {}, 0);
          offset = pos;
          line = at;
          return ImportFailure::None;
        }
      } else if (!tried) {
        firstTry = r;
        tried = true;
      }
      if (!positional && r.failure == ImportFailure::NoScoreColumn && !candidate) {
        // The student numbers' heading without a score's: the line the
        // teacher will choose the score columns from, if no better comes.
        candidate = true;
        preview_.Separator = sep;
        Adopt(r, fields, parser.RecordLine());
      }
      if (positional || (r.failure == ImportFailure::None && r.textual)) {
        for (int role = 0; role < 3; ++role) {
          if (r.column[role] > fields.size()) {
            missing_ = &wants_[role];
            return ImportFailure::NoSuchColumn;
          }
        }
        preview_.Separator = sep;
        Adopt(r, fields, parser.RecordLine());
        offset = parser.Offset();
        line = parser.NextLine();
        return ImportFailure::None;
      }
      pos = parser.Offset();
      at = parser.NextLine();
    }
    if (!tried) return ImportFailure::Empty;
    if (candidate) return ImportFailure::NoScoreColumn;
    missing_ = firstTry.missing;
    return firstTry.failure != ImportFailure::None ? firstTry.failure : ImportFailure::NoStudentColumn;
  }

  void Adopt(const Resolution& r, const std::vector<std::string>& heading, std::size_t headingLine) {
    preview_.HeadingLine = headingLine;
    preview_.StudentColumn = r.column[kStudent];
    preview_.CourseworkColumn = r.column[kCoursework];
    preview_.ExaminationColumn = r.column[kExamination];
    preview_.ColumnNames.clear();
    for (const std::string& cell : heading) preview_.ColumnNames.emplace_back(TrimGbk(ShownGbk(cell)));
    for (int role = 0; role < 3; ++role) {
      const std::size_t c = r.column[role];
      if (c >= 1 && c <= heading.size()) preview_.Headings[role] = std::string(TrimGbk(ShownGbk(heading[c - 1])));
    }
  }

  static bool IsBlankRow(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return TrimCell(f).empty(); });
  }

  static std::string_view Cell(const std::vector<std::string>& fields, std::size_t column) {
    return column >= 1 && column <= fields.size() ? std::string_view(fields[column - 1]) : std::string_view();
  }

  void Skip(SkippedRow row) {
    ++preview_.IssueCounts[static_cast<std::size_t>(row.Issue)];
    if (preview_.Skipped.size() < kListedSkippedRows) preview_.Skipped.push_back(std::move(row));
  }

  void Row(const std::vector<std::string>& fields, std::size_t line) {
    if (IsBlankRow(fields)) return;
    ++preview_.Rows;
    const std::string_view numberCell = Cell(fields, preview_.StudentColumn);
    const std::size_t found = StudentOf(numberCell);
    if (found == kNone) {
      Skip({line, RowIssue::NotInCourse, std::string(TrimGbk(ShownGbk(numberCell))), ScoreColumn::None, {}});
      return;
    }
    Student& s = students_[found];
    if (s.seen) {
      s.duplicated = true;
      Skip({line, RowIssue::Duplicate, std::string(TrimGbk(ShownGbk(numberCell))), ScoreColumn::None, {}});
      return;
    }
    s.seen = true;
    s.line = line;
    s.coursework = Cell(fields, preview_.CourseworkColumn);
    s.examination = Cell(fields, preview_.ExaminationColumn);
  }

  // A score cell of a matched row: empty (nothing to import), or the text to
  // write, or why not.
  std::optional<RowIssue> Score(const std::string& cell, std::optional<std::string>& text) const {
    text.reset();
    if (TrimCell(cell).empty()) return std::nullopt;
    const std::optional<std::string> gbk = CellGbk(cell);
    if (!gbk) return RowIssue::NotGbk;
    if (TrimGbk(*gbk).empty()) return std::nullopt;
    text = AcceptedScore(*gbk);
    if (!text) return RowIssue::Unreadable;
    if (text->size() > 6) return RowIssue::TooLong;
    return std::nullopt;
  }

  void Finish() {
    const Lines& grades = book_.GradeLines;
    std::vector<std::size_t> seen;  // students named by the CSV, in the order of their rows
    for (std::size_t i = 0; i < students_.size(); ++i) {
      const Student& s = students_[i];
      if (s.seen) {
        seen.push_back(i);
        continue;
      }
      const std::string& record = grades[s.lineIndex];
      preview_.Missing.push_back({s.lineIndex, std::string(TrimmedBlanks(Field(record, record::Number))),
                                  std::string(TrimmedBlanks(Field(record, record::Name)))});
    }
    std::sort(seen.begin(), seen.end(),
              [this](std::size_t a, std::size_t b) { return students_[a].line < students_[b].line; });

    std::vector<SkippedRow> late;  // rows judged only now
    preview_.Matched.reserve(seen.size());
    for (std::size_t i : seen) {
      const Student& s = students_[i];
      const std::string& record = grades[s.lineIndex];
      std::string number(TrimmedBlanks(Field(record, record::Number)));
      if (s.duplicated) {
        ++preview_.IssueCounts[static_cast<std::size_t>(RowIssue::Duplicate)];
        late.push_back({s.line, RowIssue::Duplicate, number, ScoreColumn::None, {}});
        continue;
      }
      std::optional<std::string> cw, ex;
      std::optional<RowIssue> issue = Score(s.coursework, cw);
      ScoreColumn column = ScoreColumn::Coursework;
      if (!issue) {
        issue = Score(s.examination, ex);
        column = ScoreColumn::Examination;
      }
      if (issue) {
        ++preview_.IssueCounts[static_cast<std::size_t>(*issue)];
        const std::string& cell = column == ScoreColumn::Coursework ? s.coursework : s.examination;
        late.push_back({s.line, *issue, number, column, std::string(TrimGbk(ShownGbk(cell)))});
        continue;
      }
      MatchedRow m;
      m.Line = s.line;
      m.LineIndex = s.lineIndex;
      m.Record = record;
      m.Number = number;
      m.Name = std::string(TrimmedBlanks(Field(record, record::Name)));
      m.Old = {std::string(Field(record, record::Coursework)), std::string(Field(record, record::Examination)),
               std::string(Field(record, record::Total))};
      const bool cwChanged = cw && Padded(*cw, record::GradeWidth) != Padded(m.Old[0], record::GradeWidth);
      const bool exChanged = ex && Padded(*ex, record::GradeWidth) != Padded(m.Old[1], record::GradeWidth);
      m.New = {cwChanged ? *cw : m.Old[0], exChanged ? *ex : m.Old[1], m.Old[2]};
      if (cwChanged || exChanged) m.New[2] = ComputeTotal(preview_.Share, m.New[0], m.New[1]);
      m.Changed = cwChanged || exChanged;
      preview_.Matched.push_back(std::move(m));
    }
    auto byLine = [](const SkippedRow& a, const SkippedRow& b) { return a.Line < b.Line; };
    std::vector<SkippedRow>& skipped = preview_.Skipped;
    std::vector<SkippedRow> merged;
    merged.reserve(skipped.size() + late.size());
    std::merge(std::make_move_iterator(skipped.begin()), std::make_move_iterator(skipped.end()),
               std::make_move_iterator(late.begin()), std::make_move_iterator(late.end()),
               std::back_inserter(merged), byLine);
    if (merged.size() > kListedSkippedRows) merged.resize(kListedSkippedRows);
    skipped = std::move(merged);
  }

  const GradeBook& book_;
  const ImportProgress& progress_;
  ImportPreview preview_;
  std::array<Want, 3> wants_;
  CsvText csv_;
  std::vector<Student> students_;
  std::unordered_map<std::string, std::size_t> byNumber_;
  std::size_t failureLine_ = 0;
  const Want* missing_ = nullptr;
};

}  // namespace

std::optional<std::string> AcceptedScore(std::string_view gbk) {
  const std::string_view text = TrimGbk(gbk);
  std::string number;
  if (IsPlainNumber(text, &number)) return number;
  if (IsEditorWord(text)) return std::string(text);
  return std::nullopt;
}

std::size_t ImportPreview::ChangedCount() const {
  return static_cast<std::size_t>(
      std::count_if(Matched.begin(), Matched.end(), [](const MatchedRow& m) { return m.Changed; }));
}

std::size_t ImportPreview::SkippedCount() const {
  std::size_t n = 0;
  for (std::size_t c : IssueCounts) n += c;
  return n;
}

ImportPreview PreviewImportBytes(const GradeBook& book, std::string_view courseKey, std::string_view bytes,
                                 const ImportColumns& columns, const ImportProgress& progress) {
  return Previewer(book, courseKey, columns, progress).Run(bytes);
}

ImportPreview PreviewImport(const GradeBook& book, std::string_view courseKey, const std::string& path,
                            const ImportColumns& columns, const ImportProgress& progress) {
  const std::string where = DisplayPath(path) + std::string(texts::kAfterPath);
  std::string bytes;
  const platform::FileStatus status = platform::ReadWholeFile(path, bytes, kMaxImportBytes);
  if (!status.Ok()) {
    const bool tooLarge = status.Error == platform::FileError::TooLarge;
    ImportPreview failed;
    failed.CourseKey = std::string(courseKey);
    failed = Failed(std::move(failed), tooLarge ? ImportFailure::TooLarge : ImportFailure::ReadFailed);
    failed.Message = where + failed.Message;
    if (!tooLarge) failed.Message += std::string(texts::kAfterPath) + FileErrorReason(status);
    return failed;
  }
  ImportPreview preview = PreviewImportBytes(book, courseKey, bytes, columns, progress);
  if (!preview.Ok()) preview.Message = where + preview.Message;
  return preview;
}

ApplyResult ApplyImport(GradeBook& book, const ImportPreview& preview) {
  ApplyResult result;
  if (!preview.Ok()) {
    result.Ok = false;
    result.Message = preview.Message;
    return result;
  }
  for (const MatchedRow& m : preview.Matched) {
    if (m.Changed && (m.LineIndex >= book.GradeLines.size() || book.GradeLines[m.LineIndex] != m.Record)) {
      result.Ok = false;
      result.Message = std::string(texts::kChangedSincePreview);
      return result;
    }
  }
  for (const MatchedRow& m : preview.Matched) {
    if (m.Changed) result.Changes.push_back(book.RewriteGrades(m.LineIndex, m.New[0], m.New[1], m.New[2]));
  }
  return result;
}

bool UndoImport(GradeBook& book, const std::vector<RecordChange>& changes) {
  for (const RecordChange& c : changes) {
    if (c.LineIndex >= book.GradeLines.size() || book.GradeLines[c.LineIndex] != c.After) return false;
  }
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) book.GradeLines[it->LineIndex] = it->Before;
  if (!changes.empty()) book.Modified = true;
  return true;
}

}  // namespace exchange
