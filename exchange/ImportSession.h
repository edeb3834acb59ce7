#pragma once
// One import as the window goes through it with the teacher: the preview
// with the columns the heading names, then again with the score columns the
// teacher chooses, until the grades are imported or the import is given up.
// Each preview reads the file again, so what is applied is what was shown
// last.
#include <cstddef>
#include <string>
#include <vector>

#include "exchange/Import.h"

namespace exchange {

// The score columns to take, from 1; 0: that score is not imported.
struct ScoreColumns {
  std::size_t Coursework = 0, Examination = 0;
  bool operator==(const ScoreColumns&) const = default;
};

class ImportSession {
 public:
  // `courseKey` is a key of book.CourseKeys; `path` the CSV file. The book
  // must outlive the session and not change while it runs.
  ImportSession(const GradeBook& book, std::string courseKey, std::string path);

  // The first preview: the columns as the heading names them.
  const ImportPreview& Start(const ImportProgress& progress = {});
  // The preview again with the score columns chosen; with neither chosen a
  // preview that fails (NoScoreColumn) and says to choose one.
  const ImportPreview& Choose(ScoreColumns columns, const ImportProgress& progress = {});

  const ImportPreview& Preview() const { return preview_; }
  ScoreColumns Columns() const { return {preview_.CourseworkColumn, preview_.ExaminationColumn}; }
  // The heading's cells (GBK) and the student numbers' column among them,
  // as the first preview found them.
  const std::vector<std::string>& ColumnNames() const { return names_; }
  std::size_t StudentColumn() const { return studentColumn_; }

  // The first preview can be shown: it worked, or the heading names the
  // student numbers and the teacher can choose the score columns.
  bool CanShow() const { return shown_; }
  // The score columns are for the teacher to choose: the heading leaves a
  // doubt (ScoreColumnsClear) or names no score at all.
  bool AsksColumns() const { return asks_; }
  // Importing would change a record.
  bool CanImport() const { return preview_.Ok() && preview_.ChangedCount() > 0; }

 private:
  const GradeBook& book_;
  std::string key_, path_;
  ImportPreview preview_;
  std::vector<std::string> names_;
  std::size_t studentColumn_ = 0;
  bool shown_ = false, asks_ = false;
};

}  // namespace exchange
