// gradesheet-cli: the batch side of gradesheet. The words of the command
// line are read by ParseCommandLine; each command is one entry of the table
// in main() that gets what was read and returns the exit code (0 done,
// 1 bad usage, 2 a file cannot be read or written).
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/AnalysisCommand.h"
#include "app/cli/BatchFiles.h"
#include "app/cli/CheckCommand.h"
#include "app/cli/CommandLine.h"
#include "app/cli/ExportCommand.h"
#include "app/cli/ImportCommand.h"
#include "app/cli/SheetCommands.h"
#include "text/About.h"
#include "app/cli/VersionCommands.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "platform/Files.h"

namespace {

using cli::Invocation;

int RunCourses(const Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;
  cli::StandardOutput out;
  for (const std::string& row : book.CourseTitles) {
    out << cli::Shown(row) << '\n';
    if (!out.Ok()) break;
  }
  return out.Finish("courses", 0);
}

int RunStudents(const Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;
  std::string key = book.CourseKeys.empty() ? GradeTexts::NoCourseKey() : book.CourseKeys.front();
  if (call.Operands.size() == 2) {
    const std::optional<std::string> named = cli::CourseKeyOf(book, call.Operands[1]);
    if (!named) return cli::NoSuchCourse("students", call.File(), call.Operands[1]);
    key = *named;
  }
  const CourseView view = book.ShowCourse(key);
  cli::StandardOutput out;
  for (const StudentRow& row : view.Rows) {
    if (row.IsPlaceholder()) continue;
    for (std::size_t c = 0; c < row.Cells.size(); ++c) {
      if (c > 0) out << '\t';
      out << cli::Shown(row.Cells[c]);
    }
    out << '\n';
    if (!out.Ok()) break;
  }
  return out.Finish("students", 0);
}

struct Runner {
  std::string_view Name;
  int (*Run)(const Invocation& call);
};

constexpr Runner kRunners[] = {
    {"courses", RunCourses}, {"students", RunStudents}, {"text", RunSheetText},
    {"pdf", RunSheetPdf},    {"stats", RunSheetStats},  {"check", RunCheck},
    {"import", RunImport},   {"export", RunExport},      {"analysis", RunAnalysis},
    {"versions", RunVersions}, {"restore", RunRestore},
};

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit a write fails and is reported instead of the
  // system ending the program halfway through a file.
  platform::IgnoreFileSizeSignal();
  const std::vector<std::string> words(argv + 1, argv + argc);
  const Invocation call = cli::ParseCommandLine(words);

  if (call.What == Invocation::Action::Help) {
    cli::StandardOutput out;
    out << cli::ToolUsage();
    return out.Finish("", 0);
  }
  if (call.What == Invocation::Action::Version) {
    cli::StandardOutput out;
    out << about::VersionText("gradesheet-cli", GRADESHEET_VERSION);
    return out.Finish("", 0);
  }
  if (call.What == Invocation::Action::Usage) {
    if (call.Command) return cli::BadUsage(*call.Command, call.Complaint);
    if (!call.Complaint.empty()) std::cerr << "gradesheet-cli: " << call.Complaint << "\n\n";
    std::cerr << cli::ToolUsage();
    return 1;
  }
  for (const Runner& runner : kRunners) {
    if (runner.Name != call.Command->Name) continue;
    try {
      return runner.Run(call);
    } catch (const std::exception& e) {
      // The library's own words (std::bad_alloc and the like) after ours.
      cli::Complain(runner.Name, std::string("无法完成：") + e.what());
      return 2;
    }
  }
  cli::Complain(call.Command->Name, "这一版本没有这个命令");
  return 1;
}
