#include "app/cli/ImportCommand.h"

#include <array>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/cli/BatchFiles.h"
#include "gradefile/Versions.h"
#include "exchange/Import.h"
#include "gradefile/FileMessages.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace {

constexpr int kGradeFile = 2, kCsv = 4;

// The columns named on the command line, as GBK like the headings they are
// compared with; the complaint when one cannot be.
std::string ColumnsOf(const cli::Invocation& call, exchange::ImportColumns& columns) {
  const std::pair<const std::string*, std::string*> named[] = {
      {&call.CourseworkColumn, &columns.Coursework},
      {&call.ExamColumn, &columns.Examination},
      {&call.StudentColumn, &columns.Student},
  };
  for (const auto& [typed, gbk] : named) {
    if (typed->empty()) continue;
    const std::optional<std::string> text = Utf8ToGbk(*typed);
    if (!text) return DisplayPath(*typed) + ": no heading of a grade file can hold these characters";
    *gbk = *text;
  }
  return {};
}

const char* SeparatorName(char sep) { return sep == '\t' ? "tab" : sep == ';' ? "semicolon" : "comma"; }

void PrintColumns(cli::StandardOutput& out, const exchange::ImportPreview& p) {
  out << "columns:";
  const std::array<std::pair<const char*, std::size_t>, 3> columns = {
      {{"student number", p.StudentColumn}, {"coursework", p.CourseworkColumn}, {"examination", p.ExaminationColumn}}};
  bool first = true;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].second == 0) continue;
    out << (first ? " " : ", ") << columns[i].first << " = " << columns[i].second;
    if (!p.Headings[i].empty()) out << " (" << GbkToUtf8(p.Headings[i]) << ')';
    first = false;
  }
  out << '\n';
}

std::string Why(const exchange::SkippedRow& row) {
  using exchange::RowIssue;
  const std::string column = row.Column == exchange::ScoreColumn::Coursework ? "coursework" : "examination";
  const std::string text = " \"" + GbkToUtf8(row.Text) + '"';
  switch (row.Issue) {
    case RowIssue::NotInCourse: return "not in the course";
    case RowIssue::Duplicate: return "student number on more than one row";
    case RowIssue::Unreadable: return column + text + " is neither a number nor a grade word";
    case RowIssue::NotGbk: return column + text + " has characters the grade file cannot hold";
    case RowIssue::TooLong: return column + text + " is longer than the 6 bytes of its field";
  }
  return {};
}

void PrintReport(cli::StandardOutput& out, const exchange::ImportPreview& p) {
  using exchange::RowIssue;
  const std::size_t unreadable =
      p.Count(RowIssue::Unreadable) + p.Count(RowIssue::NotGbk) + p.Count(RowIssue::TooLong);
  out << "matched " << p.Matched.size() << ", changed " << p.ChangedCount() << ", not in course "
      << p.Count(RowIssue::NotInCourse) << ", missing " << p.Missing.size() << ", unreadable " << unreadable
      << ", duplicate " << p.Count(RowIssue::Duplicate) << '\n';
  if (!p.Skipped.empty()) {
    out << "rows not applied:\n";
    for (const exchange::SkippedRow& row : p.Skipped)
      out << "  line " << row.Line << '\t' << GbkToUtf8(row.Number) << '\t' << Why(row) << '\n';
    if (p.SkippedNotListed() > 0) out << "  ... and " << p.SkippedNotListed() << " more rows\n";
  }
  if (!p.Missing.empty()) {
    out << "students missing from the CSV:\n";
    for (const exchange::MissingStudent& m : p.Missing)
      out << "  " << GbkToUtf8(m.Number) << '\t' << GbkToUtf8(m.Name) << '\n';
  }
}

}  // namespace

int RunImport(const cli::Invocation& call) {
  const std::string& file = call.File();
  const std::string& csv = call.Operands[2];
  exchange::ImportColumns columns;
  if (const std::string why = ColumnsOf(call, columns); !why.empty()) return cli::BadUsage(*call.Command, why);
  GradeBook book;
  if (!cli::LoadBook(file, book)) return kGradeFile;
  const std::optional<std::string> key = cli::CourseKeyOf(book, call.Operands[1]);
  if (!key) return cli::NoSuchCourse("import", file, call.Operands[1]);

  const exchange::ImportPreview p = exchange::PreviewImport(book, *key, csv, columns);
  if (!p.Ok()) {
    std::cerr << p.Message << '\n';
    return kCsv;
  }
  cli::StandardOutput out;
  out << DisplayPath(csv) << ": " << p.Encoding << ", " << SeparatorName(p.Separator) << "-separated, ";
  if (p.HeadingLine > 0) out << "heading on line " << p.HeadingLine << '\n';
  else out << "no heading line\n";
  PrintColumns(out, p);
  out << "course " << GbkToUtf8(*key) << ", coursework share \"" << GbkToUtf8(p.Share) << "\"\n";
  PrintReport(out, p);

  auto notWritten = [&](const char* why) {
    out << why << ": " << DisplayPath(file) << " not written\n";
    return out.Finish("import", 0);
  };
  if (call.DryRun) return notWritten("dry run");
  if (p.Matched.empty()) return notWritten("nothing matched");
  if (p.ChangedCount() == 0) return notWritten("nothing changed");

  const exchange::ApplyResult applied = exchange::ApplyImport(book, p);
  if (!applied.Ok) {
    out.Finish("import", kGradeFile);
    std::cerr << applied.Message << '\n';
    return kGradeFile;
  }
  // Someone else saved the file while the CSV was read: writing now would
  // throw their version away.
  if (book.ChangedOnDisk(file)) {
    out.Finish("import", kGradeFile);
    cli::Complain("import", DisplayPath(file) + " changed on disk while importing; not written");
    return kGradeFile;
  }
  // The bytes this save replaces stay within reach (gradesheet-cli restore).
  if (const std::string notKept = KeepVersion(file); !notKept.empty()) cli::Complain("import", notKept);
  const SaveResult saved = book.Save(file);
  if (!saved.Ok) {
    out.Finish("import", kGradeFile);
    std::cerr << saved.Message << '\n';
    return kGradeFile;
  }
  out << applied.Changes.size() << " records changed, " << DisplayPath(file) << " saved\n";
  return out.Finish("import", 0);
}
