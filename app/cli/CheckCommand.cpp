#include "app/cli/CheckCommand.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/BatchFiles.h"
#include "app/cli/BatchInputs.h"
#include "gradefile/BookCheck.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

// "demo.txt: 共 128 条记录，发现 3 处问题（unrecognised 1，total-mismatch 2）": the kinds by
// the names the lines on standard output give them.
std::string Summary(const std::string& file, const GradeBook& book, const std::vector<GradeFinding>& findings) {
  std::string text = DisplayPath(file) + ": 共 " + std::to_string(book.GradeLines.size()) + " 条记录，";
  if (findings.empty()) return text + "没有发现问题";
  constexpr std::array kinds = {FindingKind::BadShare,   FindingKind::Unrecognised,
                                FindingKind::OutOfRange, FindingKind::TotalMismatch,
                                FindingKind::ReadAsZero, FindingKind::DuplicateStudent};
  std::string counts;
  for (FindingKind kind : kinds) {
    std::size_t n = 0;
    for (const GradeFinding& f : findings) n += f.Kind == kind;
    if (n == 0) continue;
    if (!counts.empty()) counts += "，";
    counts += std::string(KindName(kind)) + ' ' + std::to_string(n);
  }
  return text + "发现 " + std::to_string(findings.size()) + " 处问题（" + counts + "）";
}

}  // namespace

namespace {

// Writes the findings of `book`, each line after `prefix`; false when
// standard output failed.
bool WriteFindings(cli::StandardOutput& out, std::string_view prefix, const GradeBook& book,
                   const std::vector<GradeFinding>& findings) {
  for (const GradeFinding& f : findings) {
    // A finding of a course (a bad share) names no student.
    const std::string_view record =
        f.LineIndex < book.GradeLines.size() ? std::string_view(book.GradeLines[f.LineIndex]) : std::string_view();
    // No byte of the data splits the line or its fields: tabs and line ends show as \xNN.
    out << prefix << cli::Shown(f.CourseKey) << '\t' << cli::Shown(TrimmedBlanks(Field(record, record::Number))) << '\t'
        << ColumnName(f.Column) << '\t' << KindName(f.Kind) << '\t' << cli::Shown(f.Text) << '\t'
        << DisplayPath(f.Explanation) << '\n';
    if (!out.Ok()) return false;
  }
  return true;
}

int CheckOne(const std::string& file) {
  GradeBook book;
  if (!cli::LoadBook(file, book)) return 2;
  const std::vector<GradeFinding> findings = CheckBook(book);
  cli::StandardOutput out;
  WriteFindings(out, {}, book, findings);
  const int code = out.Finish("check", findings.empty() ? 0 : 3);
  if (code != 2) cli::Complain("check", Summary(file, book, findings));
  return code;
}

}  // namespace

int RunCheck(const cli::Invocation& call) {
  const cli::BatchInputs inputs = cli::GatherInputs("check", call.Operands);
  if (!inputs.Several) return CheckOne(inputs.Files.front());

  cli::StandardOutput out;
  std::size_t checked = 0, withFindings = 0;
  const std::size_t failed = cli::ForEachBook("check", "检查", inputs, [&](const std::string& file, GradeBook& book) {
    ++checked;
    const std::vector<GradeFinding> findings = CheckBook(book);
    if (!findings.empty()) ++withFindings;
    return WriteFindings(out, DisplayPath(file) + '\t', book, findings);
  });
  const int code = out.Finish("check", withFindings > 0 ? 3 : failed > 0 ? 2 : 0);
  cli::Complain("check", cli::FilesSummary(checked, inputs.Skipped, withFindings));
  return code;
}
