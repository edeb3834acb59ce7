#include "app/cli/BatchFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "app/cli/CommandLine.h"
#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"

namespace cli {

using platform::FileError;
using platform::FileStatus;

std::string FileReason(const FileStatus& status) {
  switch (status.Error) {
    case FileError::None: return {};
    case FileError::NoSuchFile: return Gbk("文件或文件夹不存在");
    case FileError::Permission: return Gbk("没有访问权限");
    case FileError::ReadOnlyFile: return Gbk("文件是只读的");
    case FileError::NotOwner: return Gbk("文件属于其他用户");
    case FileError::ReadOnlyFileSystem: return Gbk("磁盘是只读的");
    case FileError::DiskFull: return Gbk("磁盘已满");
    case FileError::IsFolder: return Gbk("这是一个文件夹");
    case FileError::NotRegular: return Gbk("不是普通文件");
    case FileError::TooLarge: return Gbk("文件超过了允许的大小");
    case FileError::NameTooLong: return Gbk("文件名太长");
    case FileError::LinkLoop: return Gbk("符号链接循环");
    case FileError::Other: break;
  }
  return Gbk("系统错误") + " " + std::to_string(status.Code);
}

void Complain(std::string_view command, std::string_view utf8) {
  std::cerr << "gradesheet-cli";
  if (!command.empty()) std::cerr << ' ' << command;
  std::cerr << ": " << utf8 << '\n';
}

int BadUsage(const CommandSpec& spec, std::string_view why) {
  Complain(spec.Name, why);
  std::cerr << CommandUsage(spec);
  return 1;
}

bool LoadBook(const std::string& file, GradeBook& book) {
  const LoadResult loaded = book.Load(file);
  if (loaded.Outcome == LoadOutcome::Loaded) {
    book.BuildCourseList();
    return true;
  }
  std::string text;
  switch (loaded.Outcome) {
    case LoadOutcome::Missing: text = GradeTexts::NotExist(); break;
    case LoadOutcome::NotGradeFile: text = GradeTexts::NotGradeFile(); break;
    default: {
      // Opening it again tells why in the platform's own kinds.
      FileStatus status;
      const bool opens = platform::InputFile::Open(file, status).has_value();
      text = GradeTexts::ReadFailed() + FileReason(opens ? FileStatus{FileError::Other, EIO} : status);
    }
  }
  // The program's own load messages, printed as they are: the name, then the text.
  std::cerr << Shown(file) << GbkToUtf8(text) << '\n';
  return false;
}

std::optional<std::string> CourseKeyOf(const GradeBook& book, const std::string& key) {
  const std::optional<std::string> gbk = Utf8ToGbk(key);
  if (!gbk || std::find(book.CourseKeys.begin(), book.CourseKeys.end(), *gbk) == book.CourseKeys.end())
    return std::nullopt;
  return gbk;
}

int NoSuchCourse(std::string_view command, const std::string& file, const std::string& key) {
  Complain(command, Shown(file) + ": no course with the key \"" + Shown(key) + "\"");
  return 1;
}

bool IsGradeFile(const std::string& path) {
  FileStatus status;
  std::optional<platform::InputFile> file = platform::InputFile::Open(path, status);
  if (!file) return false;
  // The magic line and its line end are all there is to look at.
  std::string first(GradeTexts::MagicLine().size() + 2, '\0');
  std::size_t got = 0;
  while (got < first.size()) {
    const long n = file->Read(first.data() + got, first.size() - got, status);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  first.resize(got);
  GradeBook probe;
  return probe.ReadBytes(first);
}

std::string OutputRefusal(const std::string& out, std::span<const std::string> inputs) {
  const std::optional<platform::FileIdentity> target = platform::Identify(out);
  if (!target) return {};  // nothing there yet; the writer says why if it cannot create it
  for (const std::string& input : inputs) {
    const std::optional<platform::FileIdentity> read = platform::Identify(input);
    if (read && read->SameFile(*target)) {
      std::string text = Shown(out) + ": 输出文件就是输入文件";
      if (input != out) text += ' ' + Shown(input);
      return text + "，不能覆盖，未写入。";
    }
  }
  if (IsGradeFile(out)) return Shown(out) + ": 这是一个成绩文件，不能用输出覆盖，未写入。";
  return {};
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
  Complain(command, "写入标准输出失败: " + GbkToUtf8(FileReason(status_)));
  return 2;
}

}  // namespace cli
