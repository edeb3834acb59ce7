#include "app/cli/CheckCommand.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/BatchFiles.h"
#include "gradefile/BookCheck.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

std::string Summary(const std::string& file, const GradeBook& book, const std::vector<GradeFinding>& findings) {
  std::string text = DisplayPath(file) + ": ";
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

int RunCheck(const cli::Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;
  const std::vector<GradeFinding> findings = CheckBook(book);
  cli::StandardOutput out;
  for (const GradeFinding& f : findings) {
    const std::string_view record = book.GradeLines[f.LineIndex];
    // No byte of the data splits the line or its fields: tabs and line ends show as \xNN.
    out << cli::Shown(f.CourseKey) << '\t' << cli::Shown(TrimmedBlanks(Field(record, record::Number))) << '\t'
        << ColumnName(f.Column) << '\t' << KindName(f.Kind) << '\t' << cli::Shown(f.Text) << '\t'
        << DisplayPath(f.Explanation) << '\n';
    if (!out.Ok()) break;
  }
  const int code = out.Finish("check", findings.empty() ? 0 : 3);
  if (code != 2) cli::Complain("check", Summary(call.File(), book, findings));
  return code;
}
