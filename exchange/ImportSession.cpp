#include "exchange/ImportSession.h"

#include <utility>

#include "text/Texts.h"

namespace exchange {

ImportSession::ImportSession(const GradeBook& book, std::string courseKey, std::string path)
    : book_(book), key_(std::move(courseKey)), path_(std::move(path)) {}

const ImportPreview& ImportSession::Start(const ImportProgress& progress) {
  preview_ = PreviewImport(book_, key_, path_, {}, progress);
  names_ = preview_.ColumnNames;
  studentColumn_ = preview_.StudentColumn;
  const bool noScore = preview_.Failure == ImportFailure::NoScoreColumn && !names_.empty();
  shown_ = preview_.Ok() || noScore;
  asks_ = noScore || !ScoreColumnsClear(preview_);
  return preview_;
}

const ImportPreview& ImportSession::Choose(ScoreColumns columns, const ImportProgress& progress) {
  if (columns.Coursework == 0 && columns.Examination == 0) {
    // Nothing to read: the columns as they were, and what to do about it.
    ImportPreview none;
    none.Failure = ImportFailure::NoScoreColumn;
    none.Message = std::string(texts::kNoScoreChosen);
    none.CourseKey = key_;
    none.ColumnNames = names_;
    none.StudentColumn = studentColumn_;
    preview_ = std::move(none);
    return preview_;
  }
  // The student numbers stay found by their heading: a column named by
  // number would make the first line the heading, a title above it too.
  ImportColumns wanted;
  if (columns.Coursework > 0) wanted.Coursework = std::to_string(columns.Coursework);
  if (columns.Examination > 0) wanted.Examination = std::to_string(columns.Examination);
  preview_ = PreviewImport(book_, key_, path_, wanted, progress);
  return preview_;
}

}  // namespace exchange
