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

int RunCheck(const cli::Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;
  const std::vector<GradeFinding> findings = CheckBook(book);
  cli::StandardOutput out;
  for (const GradeFinding& f : findings) {
    // A finding of a course (a bad share) names no student.
    const std::string_view record =
        f.LineIndex < book.GradeLines.size() ? std::string_view(book.GradeLines[f.LineIndex]) : std::string_view();
    out << Cell(GbkToUtf8(f.CourseKey)) << '\t' << Cell(GbkToUtf8(TrimmedBlanks(Field(record, record::Number)))) << '\t'
        << ColumnName(f.Column) << '\t' << KindName(f.Kind) << '\t' << Cell(GbkToUtf8(f.Text)) << '\t'
        << Cell(f.Explanation) << '\n';
    if (!out.Ok()) break;
  }
  const int code = out.Finish("check", findings.empty() ? 0 : 3);
  if (code != 2) cli::Complain("check", Summary(call.File(), book, findings));
  return code;
}
