#include "app/cli/CommandLine.h"

#include <charconv>

#include "gradefile/FileMessages.h"

namespace cli {

namespace {

constexpr std::string_view kSheetTextHelp =
    "the grade sheet as plain text on its grid (one column per GBK byte), every page or page N, "
    "a form feed between pages; --by-class: the sheet split by class";
constexpr std::string_view kSheetPdfHelp =
    "the grade sheet as a PDF on A4 at 600 dpi, one PDF page per sheet page, with the fonts and "
    "margins of DIR/qprtpara.dat (default: the built-in ones); OUT is never a grade file or an "
    "input, and is replaced only once the whole PDF is written. --threads N: draw the pages in N "
    "threads (default: one per processor, at most 8)";
constexpr std::string_view kSheetStatsHelp =
    "one tab-separated line per sheet group after a header line: course key, class, pages, "
    "students due, coursework and examination shares, the five band counts, average, failure "
    "rate, as the sheet prints them (empty where it leaves a blank)";

constexpr std::string_view kCheckHelp =
    "every suspicious grade of FILE, one line per finding in the order of the records: course key, "
    "student number, column (coursework, exam, total; empty for duplicate-student), kind "
    "(unrecognised, out-of-range, total-mismatch, read-as-zero, duplicate-student), the cell's text "
    "and an explanation, separated by tabs; a summary on standard error; exit 3 when there are findings";
constexpr std::string_view kImportHelp =
    "grades from a CSV file (UTF-8 or GBK; comma, tab or semicolon) into the course KEY: rows are matched by "
    "student number, each changed row is written like an edit (total recomputed) and FILE is saved; prints the "
    "counts and the rows not applied. Columns come from the heading (学号, 平时成绩, 考试成绩 / 卷面, or student, "
    "coursework, exam) or are named by number or heading text; naming a score column imports only the named "
    "ones. --dry-run writes nothing. Exit 4: the CSV cannot be read or used";
constexpr std::string_view kExportHelp =
    "the courses as an Excel workbook (one worksheet per course: heading block, then 序号 学号 姓名 班级 平时成绩 "
    "考试成绩 总成绩; numbers as numbers) or as CSV in UTF-8 with a BOM (all courses with a course key column, or "
    "one with --course). OUT is never a grade file or FILE itself";

constexpr std::string_view kVersionsHelp =
    "the versions of FILE that saves replaced (kept in the state folder, the newest 20 of each file), one per "
    "line, newest first: number (1 = newest), time the bytes were written (ISO 8601), size in bytes, separated "
    "by tabs; nothing when there are none";
constexpr std::string_view kRestoreHelp =
    "puts version N (as versions numbers them) back in place of FILE, after keeping what FILE holds now as the "
    "newest version; refused while a window edits FILE";

std::optional<std::int32_t> ParsePositive(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

// Reads the words after the command name into `call`; the complaint, empty when fine.
std::string ParseCommandWords(const CommandSyntax& syntax, std::span<const std::string> args, Invocation& call) {
  const auto accepts = [&](Option option) { return (syntax.Options & option) != 0; };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
    const bool isOption = !optionsEnded && word.size() > 1 && word[0] == '-';
    if (!isOption) {
      if (call.Operands.size() == syntax.MaxOperands)
        return syntax.MaxOperands == 1 ? "one FILE only" : "too many words: " + DisplayPath(word);
      call.Operands.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
    } else if (accepts(kByClass) && word == "--by-class") {
      call.ByClass = true;
    } else if (accepts(kPage) && word == "--page") {
      if (!value || !(call.Page = ParsePositive(*value))) return "--page needs a page number from 1";
      ++i;
    } else if (accepts(kOutput) && (word == "-o" || word == "--output")) {
      if (!value || value->empty()) return "-o needs the name of the output file";
      call.Out = *value;
      ++i;
    } else if (accepts(kPageRange) && word == "--pages") {
      if (!value) return "--pages needs a range A-B";
      const std::string_view range = *value;
      const std::size_t dash = range.find('-');
      const auto first = ParsePositive(range.substr(0, dash));
      const auto last = dash == std::string_view::npos ? first : ParsePositive(range.substr(dash + 1));
      if (!first || !last || *first > *last) return "--pages needs a range A-B with 1 <= A <= B";
      call.Pages.emplace(*first, *last);
      ++i;
    } else if (accepts(kSettings) && word == "--settings") {
      if (!value || value->empty()) return "--settings needs a directory";
      call.SettingsDir = *value;
      ++i;
    } else if (accepts(kCourse) && word == "--course") {
      if (!value) return "--course needs a course key";
      call.Course = *value;
      ++i;
    } else if (accepts(kColumns) && (word == "--coursework" || word == "--exam" || word == "--student")) {
      if (!value || value->empty()) return word + " needs a column number or heading";
      (word == "--coursework" ? call.CourseworkColumn : word == "--exam" ? call.ExamColumn : call.StudentColumn) =
          *value;
      ++i;
    } else if (accepts(kThreads) && word == "--threads") {
      if (!value || !(call.Threads = ParsePositive(*value))) return "--threads needs a number from 1";
      ++i;
    } else if (accepts(kDryRun) && word == "--dry-run") {
      call.DryRun = true;
    } else {
      return "unknown option " + DisplayPath(word);
    }
  }
  if (call.Operands.size() < syntax.MinOperands)
    return syntax.MinOperands == 1 ? "FILE is missing" : "needs " + std::string(syntax.OperandNames);
  if (accepts(kOutput) && call.Out.empty()) return "-o OUT is missing: name the output file";
  return {};
}

}  // namespace

const std::vector<CommandSyntax>& Commands() {
  static const std::vector<CommandSyntax> commands = {
      {"courses", "FILE", "the course list: name, teacher and classes of each course, one per line", 0, 1, 1},
      {"students", "FILE [KEY]",
       "the students of the course KEY (default: the first course), one per line: running number, "
       "student number, name, class, coursework, examination, total, separated by tabs, each cell "
       "exactly as it stands in the file (blanks kept)",
       0, 1, 2},
      {"text", "FILE [--by-class] [--page N]", kSheetTextHelp, kByClass | kPage, 1, 1},
      {"pdf", "FILE -o OUT.pdf [--by-class] [--pages A-B] [--settings DIR] [--threads N]", kSheetPdfHelp,
       kByClass | kOutput | kPageRange | kSettings | kThreads, 1, 1},
      {"stats", "FILE [--by-class]", kSheetStatsHelp, kByClass, 1, 1},
      {"check", "FILE", kCheckHelp, 0, 1, 1},
      {"import", "FILE KEY SCORES.csv [--coursework COL] [--exam COL] [--student COL] [--dry-run]", kImportHelp,
       kColumns | kDryRun, 3, 3, "FILE, KEY and SCORES.csv"},
      {"export", "FILE -o OUT.xlsx|OUT.csv [--course KEY]", kExportHelp, kOutput | kCourse, 1, 1},
      {"versions", "FILE", kVersionsHelp, 0, 1, 1},
      {"restore", "FILE N", kRestoreHelp, 0, 2, 2, "FILE and N"},
  };
  return commands;
}

const CommandSyntax* FindCommand(std::string_view name) {
  for (const CommandSyntax& syntax : Commands())
    if (syntax.Name == name) return &syntax;
  return nullptr;
}

Invocation ParseCommandLine(std::span<const std::string> words) {
  Invocation call;
  if (words.empty()) return call;
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    call.What = Invocation::Action::Help;
    return call;
  }
  if (words[0] == "--version") {
    call.What = Invocation::Action::Version;
    return call;
  }
  call.Command = FindCommand(words[0]);
  if (!call.Command) {
    call.Complaint = "unknown command \"" + DisplayPath(words[0]) + "\"";
    return call;
  }
  call.Complaint = ParseCommandWords(*call.Command, words.subspan(1), call);
  if (call.Complaint.empty()) call.What = Invocation::Action::Run;
  return call;
}

std::string ToolUsage() {
  std::string text =
      "usage: gradesheet-cli COMMAND ARGS...\n"
      "       gradesheet-cli --help | --version\n\n"
      "commands:\n";
  for (const CommandSyntax& c : Commands()) {
    text += "  " + std::string(c.Name) + ' ' + std::string(c.Usage) + "\n      " + std::string(c.Help) + '\n';
  }
  text +=
      "\nText is written as UTF-8; a file whose name begins with '-' follows \"--\".\n"
      "Exit codes: 0 done, 1 bad usage, 2 a file cannot be read or written (missing,\n"
      "unreadable, not a grade file, a full disk, an output that would replace an input).\n";
  return text;
}

std::string CommandUsage(const CommandSyntax& syntax) {
  return "usage: gradesheet-cli " + std::string(syntax.Name) + ' ' + std::string(syntax.Usage) + '\n';
}

}  // namespace cli
