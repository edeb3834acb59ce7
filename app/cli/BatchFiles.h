#pragma once
// What the batch tool reads and writes besides the sheet itself: the grade
// file it loads, standard output with every write checked, and the messages that
// name a file and say in Chinese what went wrong (DisplayPath and
// FileErrorReason of the core, as in the window).
#include <concepts>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gradefile/OutputCheck.h"  // OutputRefusal, which every command that writes asks
#include "platform/Files.h"
#include "platform/WriteLock.h"

class GradeBook;

namespace cli {

struct CommandSyntax;

// Prints a message on standard error: "gradesheet-cli[ command]: text".
// `utf8` is already UTF-8 (names shown through DisplayPath, GBK texts converted).
void Complain(std::string_view command, std::string_view utf8);

// Says what is wrong with the words of a command and shows its usage, on
// standard error; returns the exit code of bad usage (1).
int BadUsage(const CommandSyntax& syntax, std::string_view why);

// Loads FILE with its course list; on failure prints the program's message
// (the file's name, then what went wrong) and returns false. What the user
// should know about a file that loaded (bytes after a Ctrl-Z) is printed too.
bool LoadBook(const std::string& file, GradeBook& book);

// A text of the data (GBK) as printed: UTF-8, with every control character
// escaped as \xNN (DisplayPath), so that no grade or name from a file or a
// CSV can move the cursor, clear the screen or split a line.
std::string Shown(std::string_view gbk);

// Locks FILE for a command that reads, changes and writes it, waiting a few
// seconds for another writer; nullopt after saying so on standard error
// (the command then exits with 2, the file untouched). A lock that could
// not be taken for another reason is left to the loading to report.
std::optional<platform::WriteLock> LockForWriting(std::string_view command, const std::string& file);

// The course key (GBK) that KEY, as typed, names in the book; nullopt when
// the book has no such course.
std::optional<std::string> CourseKeyOf(const GradeBook& book, const std::string& key);

// Says that FILE has no course KEY; returns the exit code of bad usage (1).
int NoSuchCourse(std::string_view command, const std::string& file, const std::string& key);

// Standard output, written in blocks; the first failed write is kept and
// everything after it dropped, so a command can stop early.
class StandardOutput {
 public:
  StandardOutput() = default;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;
  ~StandardOutput();

  StandardOutput& operator<<(std::string_view text);
  StandardOutput& operator<<(char c) { return *this << std::string_view(&c, 1); }
  template <std::integral Number>
    requires(!std::same_as<Number, char> && !std::same_as<Number, bool>)
  StandardOutput& operator<<(Number number) {
    return *this << std::string_view(std::to_string(number));
  }

  bool Ok() const { return status_.Ok(); }

  // Writes what is pending. Returns the command's exit code: `code` when
  // everything was written, else 2 after saying why on standard error.
  int Finish(std::string_view command, int code);

 private:
  void Flush();
  std::string pending_;
  platform::FileStatus status_;
};

}  // namespace cli
