// gradesheet-cli: the batch side of gradesheet. Each command is one entry of
// the table in main(); a command gets the words after its name and returns
// the exit code (0 done, 1 bad usage, 2 the file cannot be used).
#include <cstdio>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/CheckCommand.h"
#include "app/cli/ExportCommand.h"
#include "app/cli/ImportCommand.h"
#include "app/cli/SheetCommands.h"
#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"

namespace {

using Args = std::span<const std::string>;

struct Command {
  std::string_view name;
  std::string_view usage;  // the words after the command name
  std::string_view help;   // one line for --help
  int (*run)(Args args);
};

const std::vector<Command>& Commands();

void PrintUsage(std::ostream& out) {
  out << "usage: gradesheet-cli COMMAND ARGS...\n"
         "       gradesheet-cli --help\n\n"
         "commands:\n";
  for (const Command& c : Commands()) {
    out << "  " << c.name << ' ' << c.usage << "\n      " << c.help << '\n';
  }
  out << "\nText is written as UTF-8. Exit codes: 0 done, 1 bad usage,\n"
         "2 the file is missing, unreadable or not a grade file.\n";
}

int UsageError(std::string_view why) {
  if (!why.empty()) std::cerr << "gradesheet-cli: " << why << "\n\n";
  PrintUsage(std::cerr);
  return 1;
}

// Loads FILE; on failure prints the program's own message (path and text)
// and returns false.
bool LoadBook(const std::string& file, GradeBook& book) {
  LoadResult loaded = book.Load(file);
  if (loaded.Outcome != LoadOutcome::Loaded) {
    std::cerr << loaded.Message << '\n';
    return false;
  }
  if (!loaded.Notice.empty()) std::cerr << loaded.Notice << '\n';
  book.BuildCourseList();
  return true;
}

int RunCourses(Args args) {
  if (args.size() != 1) return UsageError("courses takes one FILE");
  GradeBook book;
  if (!LoadBook(args[0], book)) return 2;
  for (const std::string& row : book.CourseRows) std::cout << GbkToUtf8(row) << '\n';
  return 0;
}

int RunStudents(Args args) {
  if (args.empty() || args.size() > 2) return UsageError("students takes FILE and an optional KEY");
  GradeBook book;
  if (!LoadBook(args[0], book)) return 2;
  std::string key = book.CourseKeys.empty() ? GradeTexts::NoCourseKey() : book.CourseKeys.front();
  if (args.size() == 2) {
    auto gbk = Utf8ToGbk(args[1]);
    bool known = false;
    for (const std::string& k : book.CourseKeys) known = known || (gbk && k == *gbk);
    if (!known) {
      std::cerr << "gradesheet-cli: " << args[0] << ": no course with the key \"" << args[1] << "\"\n";
      return 1;
    }
    key = *gbk;
  }
  CourseView view = book.ShowCourse(key);
  for (const StudentRow& row : view.Rows) {
    if (row.LineIndex == static_cast<std::size_t>(-1)) continue;  // the grid's placeholder row
    for (std::size_t c = 0; c < row.Cells.size(); ++c) {
      if (c > 0) std::cout << '\t';
      std::cout << GbkToUtf8(row.Cells[c]);
    }
    std::cout << '\n';
  }
  return 0;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"courses", "FILE", "the course list: name, teacher and classes of each course, one per line", RunCourses},
      {"students", "FILE [KEY]",
       "the students of the course KEY (default: the first course), one per line: running number, "
       "student number, name, class, coursework, examination, total, separated by tabs, each cell "
       "exactly as it stands in the file (blanks kept)",
       RunStudents},
      {"text", kSheetTextUsage, kSheetTextHelp, RunSheetText},
      {"pdf", kSheetPdfUsage, kSheetPdfHelp, RunSheetPdf},
      {"stats", kSheetStatsUsage, kSheetStatsHelp, RunSheetStats},
      {"check", kCheckUsage, kCheckHelp, RunCheck},
      {"import", kImportUsage, kImportHelp, RunImport},
      {"export", kExportUsage, kExportHelp, RunExport},
  };
  return commands;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) return UsageError("");
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  for (const Command& c : Commands()) {
    if (c.name == words[0]) {
      try {
        return c.run(Args(words).subspan(1));
      } catch (const std::exception& e) {
        std::cerr << "gradesheet-cli: " << e.what() << '\n';
        return 2;
      }
    }
  }
  return UsageError("unknown command \"" + words[0] + "\"");
}
