#include "app/cli/BatchFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "app/cli/CommandLine.h"
#include "gradefile/FileMessages.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace cli {

void Complain(std::string_view command, std::string_view utf8) {
  std::cerr << "gradesheet-cli";
  if (!command.empty()) std::cerr << ' ' << command;
  std::cerr << ": " << utf8 << '\n';
}

int BadUsage(const CommandSyntax& syntax, std::string_view why) {
  Complain(syntax.Name, why);
  std::cerr << CommandUsage(syntax);
  return 1;
}

bool LoadBook(const std::string& file, GradeBook& book) {
  const LoadResult loaded = book.Load(file);
  if (loaded.Outcome != LoadOutcome::Loaded) {
    std::cerr << loaded.Message << '\n';
    return false;
  }
  if (!loaded.Notice.empty()) std::cerr << loaded.Notice << '\n';
  book.BuildCourseList();
  return true;
}

std::optional<std::string> CourseKeyOf(const GradeBook& book, const std::string& key) {
  const std::optional<std::string> gbk = Utf8ToGbk(key);
  if (!gbk || std::find(book.CourseKeys.begin(), book.CourseKeys.end(), *gbk) == book.CourseKeys.end())
    return std::nullopt;
  return gbk;
}

int NoSuchCourse(std::string_view command, const std::string& file, const std::string& key) {
  Complain(command, DisplayPath(file) + ": 没有课程号为“" + DisplayPath(key) + "”的课程");
  return 1;
}

StandardOutput::~StandardOutput() { Flush(); }

StandardOutput& StandardOutput::operator<<(std::string_view text) {
  if (!status_.Ok()) return *this;
  pending_.append(text);
  if (pending_.size() >= (1u << 16)) Flush();
  return *this;
}

void StandardOutput::Flush() {
  if (!pending_.empty() && status_.Ok()) {
    errno = 0;
    if (std::fwrite(pending_.data(), 1, pending_.size(), stdout) != pending_.size() || std::fflush(stdout) != 0)
      status_ = platform::StatusOf(errno != 0 ? errno : EIO);
  }
  pending_.clear();
}

int StandardOutput::Finish(std::string_view command, int code) {
  Flush();
  if (status_.Ok()) return code;
  Complain(command, "写入标准输出失败: " + FileErrorReason(status_));
  return 2;
}

}  // namespace cli
