#pragma once
// The words of a gradesheet-cli run read into what to do, without doing it:
// which command, its operands and options, or why the words make no sense.
// No Qt and no files here, so that every odd argument list can be tried on
// it directly.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

// The options a command accepts.
enum Option : unsigned {
  kByClass = 1,    // --by-class
  kPage = 2,       // --page N
  kOutput = 4,     // -o / --output OUT (required)
  kPageRange = 8,  // --pages A-B
  kSettings = 16,  // --settings DIR
  kCourse = 32,    // --course KEY
  kColumns = 64,   // --coursework COL, --exam COL, --student COL
  kDryRun = 128,   // --dry-run
  kThreads = 256,  // --threads N
  kMaybeOutput = 512,  // -o / --output OUT (optional)
};

// MaxOperands of a command that takes any number of files and folders.
inline constexpr std::size_t kManyOperands = static_cast<std::size_t>(-1);

struct CommandSyntax {
  std::string_view Name;
  std::string_view Usage;  // the words after the command name
  std::string_view Help;   // one paragraph for --help
  unsigned Options = 0;
  std::size_t MinOperands = 1;  // FILE and what follows it
  std::size_t MaxOperands = 1;  // kManyOperands: no limit
  std::string_view OperandNames = "FILE";  // for the complaint when some are missing
};

// Every command of the tool, in the order --help lists them.
const std::vector<CommandSyntax>& Commands();
const CommandSyntax* FindCommand(std::string_view name);

struct Invocation {
  enum class Action {
    Help,     // print the usage to standard output
    Version,  // print the program's name and version to standard output
    Run,      // run Command with the fields below
    Usage,    // bad words: print Complaint and the usage to standard error
  };
  Action What = Action::Usage;
  const CommandSyntax* Command = nullptr;  // the command named, when there is one
  std::string Complaint;              // Usage: what is wrong (UTF-8); empty without words

  std::vector<std::string> Operands;  // FILE first, then e.g. the course KEY and the scores file
  bool ByClass = false;
  std::optional<std::int32_t> Page;
  std::string Out;  // the output file name, bytes as given
  std::optional<std::pair<std::int32_t, std::int32_t>> Pages;
  std::optional<std::string> SettingsDir;
  std::optional<std::string> Course;  // as typed; the last one when repeated
  std::vector<std::string> Courses;   // every --course, as typed, in order
  // Columns of the scores file, as typed (a number or a heading); empty: not named.
  std::string CourseworkColumn, ExamColumn, StudentColumn;
  bool DryRun = false;
  std::optional<std::int32_t> Threads;

  const std::string& File() const { return Operands.front(); }
};

// Reads the words after the program name.
Invocation ParseCommandLine(std::span<const std::string> words);

// The usage of the whole tool, and of one command ("usage: gradesheet-cli
// NAME USAGE").
std::string ToolUsage();
std::string CommandUsage(const CommandSyntax& syntax);

}  // namespace cli
