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
    if (!text) return DisplayPath(*typed) + "：含有成绩文件无法存放的字符，不能作为表头";
    *gbk = *text;
  }
  return {};
}

const char* SeparatorName(char sep) { return sep == '\t' ? "制表符" : sep == ';' ? "分号" : "逗号"; }

void PrintColumns(cli::StandardOutput& out, const exchange::ImportPreview& p) {
  out << "成绩所在的列:";
  const std::array<std::pair<const char*, std::size_t>, 3> columns = {
      {{"学号", p.StudentColumn}, {"平时成绩", p.CourseworkColumn}, {"考试成绩", p.ExaminationColumn}}};
  bool first = true;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].second == 0) continue;
    out << (first ? " " : "，") << columns[i].first << " = 第 " << columns[i].second << " 列";
    if (!p.Headings[i].empty()) out << " (" << cli::Shown(p.Headings[i]) << ')';
    first = false;
  }
  out << '\n';
}

std::string Why(const exchange::SkippedRow& row) {
  using exchange::RowIssue;
  const std::string issue(exchange::RowIssueText(row.Issue));
  if (row.Issue == RowIssue::NotInCourse || row.Issue == RowIssue::Duplicate ||
      row.Issue == RowIssue::DuplicateInGradeFile)
    return issue;
  // The score and its text, then the reason: 考试成绩“八十”：无法识别的成绩.
  return std::string(exchange::ScoreColumnText(row.Column)) + "“" + cli::Shown(row.Text) + "”：" + issue;
}

void PrintReport(cli::StandardOutput& out, const exchange::ImportPreview& p) {
  using exchange::RowIssue;
  const std::size_t unreadable =
      p.Count(RowIssue::Unreadable) + p.Count(RowIssue::NotGbk) + p.Count(RowIssue::TooLong);
  out << "匹配 " << p.Matched.size() << " 人，改动 " << p.ChangedCount() << " 人，不在本课程 "
      << p.Count(RowIssue::NotInCourse) << " 行，缺少 " << p.Missing.size() << " 人，无法识别 " << unreadable
      << " 行，学号重复 " << p.Count(RowIssue::Duplicate) + p.Count(RowIssue::DuplicateInGradeFile) << " 行\n";
  if (!p.Skipped.empty()) {
    out << "未导入的行:\n";
    for (const exchange::SkippedRow& row : p.Skipped)
      out << "  第 " << row.Line << " 行\t" << cli::Shown(row.Number) << '\t' << Why(row) << '\n';
    if (p.SkippedNotListed() > 0) out << "  ……另有 " << p.SkippedNotListed() << " 行未列出\n";
  }
  if (!p.Missing.empty()) {
    out << "CSV文件中缺少的本课程学生:\n";
    for (const exchange::MissingStudent& m : p.Missing)
      out << "  " << cli::Shown(m.Number) << '\t' << cli::Shown(m.Name) << '\n';
  }
}

}  // namespace

int RunImport(const cli::Invocation& call) {
  const std::string& file = call.File();
  const std::string& csv = call.Operands[2];
  exchange::ImportColumns columns;
  if (const std::string why = ColumnsOf(call, columns); !why.empty()) return cli::BadUsage(*call.Command, why);
  // Locked from the reading to the end of the write: a second import waits
  // and applies its rows over this one's.
  std::optional<platform::WriteLock> lock;
  if (!call.DryRun && !(lock = cli::LockForWriting("import", file))) return kGradeFile;
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
  out << DisplayPath(csv) << ": 编码 " << p.Encoding << "，" << SeparatorName(p.Separator) << "分隔，";
  if (p.HeadingLine > 0) out << "表头在第 " << p.HeadingLine << " 行\n";
  else out << "没有表头行\n";
  PrintColumns(out, p);
  out << "课程 " << cli::Shown(*key) << "，平时成绩占百分比“" << cli::Shown(p.Share) << "”\n";
  PrintReport(out, p);

  auto notWritten = [&](const char* why) {
    out << why << "：未写入 " << DisplayPath(file) << '\n';
    return out.Finish("import", 0);
  };
  if (call.DryRun) return notWritten("试运行");
  if (p.Matched.empty()) return notWritten("没有匹配的学生");
  if (p.ChangedCount() == 0) return notWritten("成绩没有变动");

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
    cli::Complain("import", DisplayPath(file) + " 在导入期间被其他程序修改，未写入");
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
  out << "已改动 " << applied.Changes.size() << " 条记录，已存储 " << DisplayPath(file) << '\n';
  const int code = out.Finish("import", 0);
  // Standard output failed, but the file was written: both must be said.
  if (code != 0)
    cli::Complain("import", DisplayPath(file) + "：成绩文件已保存，" + std::to_string(applied.Changes.size()) +
                                " 条记录已改动");
  return code;
}
