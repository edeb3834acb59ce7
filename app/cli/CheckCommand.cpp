#include "app/cli/CheckCommand.h"

#include <array>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/BookCheck.h"
#include "gradefile/Field.h"
#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"
#include "grading/GradeParser.h"

const char* const kCheckUsage = "FILE";
const char* const kCheckHelp =
    "every suspicious grade of FILE, one line per finding in the order of the records: course key, "
    "student number, column (coursework, exam, total; empty for duplicate-student), kind "
    "(unrecognised, out-of-range, total-mismatch, read-as-zero, duplicate-student), the cell's text "
    "and an explanation, separated by tabs; a summary on standard error; exit 3 when there are findings";

namespace {

// A field of an output line: UTF-8, and no byte that would split the line or
// the record (tabs, line ends, other control characters show as U+FFFD).
std::string Cell(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\xEF\xBF\xBD";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Summary(const std::string& file, const GradeBook& book, const std::vector<GradeFinding>& findings) {
  std::string text = "gradesheet-cli check: " + file + ": ";
  const std::string records =
      std::to_string(book.GradeLines.size()) + (book.GradeLines.size() == 1 ? " record" : " records");
  if (findings.empty()) return text + "no findings in " + records;
  constexpr std::array kinds = {FindingKind::Unrecognised, FindingKind::OutOfRange, FindingKind::TotalMismatch,
                                FindingKind::ReadAsZero, FindingKind::DuplicateStudent};
  std::string counts;
  for (FindingKind kind : kinds) {
    std::size_t n = 0;
    for (const GradeFinding& f : findings) n += f.Kind == kind;
    if (n == 0) continue;
    if (!counts.empty()) counts += ", ";
    counts += std::to_string(n) + ' ' + std::string(KindName(kind));
  }
  return text + std::to_string(findings.size()) + (findings.size() == 1 ? " finding" : " findings") + " in " +
         records + " (" + counts + ")";
}

}  // namespace

int RunCheck(std::span<const std::string> args) {
  if (args.size() != 1) {
    std::cerr << "gradesheet-cli check: takes one FILE\nusage: gradesheet-cli check " << kCheckUsage << '\n';
    return 1;
  }
  GradeBook book;
  const LoadResult loaded = book.Load(args[0]);
  if (loaded.Outcome != LoadOutcome::Loaded) {
    std::cerr << loaded.Message << '\n';
    return 2;
  }
  const std::vector<GradeFinding> findings = CheckBook(book);
  std::string out;
  for (const GradeFinding& f : findings) {
    const std::string_view record = book.GradeLines[f.LineIndex];
    out += Cell(GbkToUtf8(f.CourseKey));
    out += '\t';
    out += Cell(GbkToUtf8(TrimmedBlanks(Field(record, 8, 10))));
    out += '\t';
    out += ColumnName(f.Column);
    out += '\t';
    out += KindName(f.Kind);
    out += '\t';
    out += Cell(GbkToUtf8(f.Text));
    out += '\t';
    out += Cell(f.Explanation);
    out += '\n';
  }
  std::cout << out << std::flush;
  std::cerr << Summary(args[0], book, findings) << '\n';
  return findings.empty() ? 0 : 3;
}
