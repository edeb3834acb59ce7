#include "app/cli/ImportCommand.h"

#include <array>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/cli/CliBook.h"
#include "exchange/Import.h"
#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"

const char* const kImportUsage = "FILE KEY SCORES.csv [--coursework COL] [--exam COL] [--student COL] [--dry-run]";
const char* const kImportHelp =
    "grades from a CSV file (UTF-8 or GBK; comma, tab or semicolon) into the course KEY: rows are matched by "
    "student number, each changed row is written like an edit (total recomputed) and FILE is saved; prints the "
    "counts and the rows not applied. Columns come from the heading (学号, 平时成绩, 考试成绩 / 卷面, or student, "
    "coursework, exam) or are named by number or heading text; naming a score column imports only the named "
    "ones. --dry-run writes nothing. Exit 4: the CSV cannot be read or used";

namespace {

constexpr int kUsage = 1, kGradeFile = 2, kCsv = 4;

int Usage(std::string_view why) {
  std::cerr << "gradesheet-cli import: " << why << "\nusage: gradesheet-cli import " << kImportUsage << '\n';
  return kUsage;
}

struct ImportOptions {
  std::string File, Key, Csv;
  exchange::ImportColumns Columns;  // GBK
  bool DryRun = false;
};

std::string ParseOptions(std::span<const std::string> args, ImportOptions& o) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    std::string* column = word == "--coursework" ? &o.Columns.Coursework
                          : word == "--exam"     ? &o.Columns.Examination
                          : word == "--student"  ? &o.Columns.Student
                                                 : nullptr;
    if (column != nullptr) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return word + " needs a column number or heading";
      const std::optional<std::string> gbk = Utf8ToGbk(args[++i]);
      if (!gbk) return word + " " + args[i] + ": no heading of a grade file can hold these characters";
      *column = *gbk;
    } else if (word == "--dry-run") {
      o.DryRun = true;
    } else if (word.size() > 1 && word[0] == '-') {
      return "unknown option " + word;
    } else {
      positional.push_back(word);
    }
  }
  if (positional.size() != 3) return "needs FILE, KEY and SCORES.csv";
  o.File = positional[0];
  o.Key = positional[1];
  o.Csv = positional[2];
  return {};
}

const char* SeparatorName(char sep) { return sep == '\t' ? "tab" : sep == ';' ? "semicolon" : "comma"; }

void PrintColumns(const exchange::ImportPreview& p) {
  std::cout << "columns:";
  const std::array<std::pair<const char*, std::size_t>, 3> columns = {
      {{"student number", p.StudentColumn}, {"coursework", p.CourseworkColumn}, {"examination", p.ExaminationColumn}}};
  bool first = true;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].second == 0) continue;
    std::cout << (first ? " " : ", ") << columns[i].first << " = " << columns[i].second;
    if (!p.Headings[i].empty()) std::cout << " (" << GbkToUtf8(p.Headings[i]) << ')';
    first = false;
  }
  std::cout << '\n';
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

void PrintReport(const exchange::ImportPreview& p) {
  using exchange::RowIssue;
  const std::size_t unreadable =
      p.Count(RowIssue::Unreadable) + p.Count(RowIssue::NotGbk) + p.Count(RowIssue::TooLong);
  std::cout << "matched " << p.Matched.size() << ", changed " << p.ChangedCount() << ", not in course "
            << p.Count(RowIssue::NotInCourse) << ", missing " << p.Missing.size() << ", unreadable " << unreadable
            << ", duplicate " << p.Count(RowIssue::Duplicate) << '\n';
  if (!p.Skipped.empty()) {
    std::cout << "rows not applied:\n";
    for (const exchange::SkippedRow& row : p.Skipped) {
      std::cout << "  line " << row.Line << '\t' << GbkToUtf8(row.Number) << '\t' << Why(row) << '\n';
    }
    if (p.SkippedNotListed() > 0) std::cout << "  ... and " << p.SkippedNotListed() << " more rows\n";
  }
  if (!p.Missing.empty()) {
    std::cout << "students missing from the CSV:\n";
    for (const exchange::MissingStudent& m : p.Missing)
      std::cout << "  " << GbkToUtf8(m.Number) << '\t' << GbkToUtf8(m.Name) << '\n';
  }
}

}  // namespace

int RunImport(std::span<const std::string> args) {
  ImportOptions o;
  if (std::string why = ParseOptions(args, o); !why.empty()) return Usage(why);
  GradeBook book;
  if (!LoadCliBook(o.File, book)) return kGradeFile;
  const std::optional<std::string> key = CliCourseKey(book, o.Key);
  if (!key) {
    std::cerr << "gradesheet-cli import: " << o.File << ": no course with the key \"" << o.Key << "\"\n";
    return kUsage;
  }

  const exchange::ImportPreview p = exchange::PreviewImport(book, *key, o.Csv, o.Columns);
  if (!p.Ok()) {
    std::cerr << GbkToUtf8(p.Message) << '\n';
    return kCsv;
  }
  std::cout << o.Csv << ": " << p.Encoding << ", " << SeparatorName(p.Separator) << "-separated, ";
  if (p.HeadingLine > 0) std::cout << "heading on line " << p.HeadingLine << '\n';
  else std::cout << "no heading line\n";
  PrintColumns(p);
  std::cout << "course " << GbkToUtf8(*key) << ", coursework share \"" << GbkToUtf8(p.Share) << "\"\n";
  PrintReport(p);

  auto notWritten = [&](const char* why) {
    std::cout << why << ": " << o.File << " not written\n";
    return 0;
  };
  if (o.DryRun) return notWritten("dry run");
  if (p.Matched.empty()) return notWritten("nothing matched");
  if (p.ChangedCount() == 0) return notWritten("nothing changed");

  const exchange::ApplyResult applied = exchange::ApplyImport(book, p);
  if (!applied.Ok) {
    std::cerr << GbkToUtf8(applied.Message) << '\n';
    return kGradeFile;
  }
  // Someone else saved the file while the CSV was read: writing now would
  // throw their version away.
  if (book.ChangedOnDisk(o.File)) {
    std::cerr << "gradesheet-cli import: " << o.File << " changed on disk while importing; not written\n";
    return kGradeFile;
  }
  const SaveResult saved = book.Save(o.File);
  if (!saved.Ok) {
    std::cerr << saved.Message << '\n';
    return kGradeFile;
  }
  std::cout << applied.Changes.size() << " records changed, " << o.File << " saved\n";
  return 0;
}
