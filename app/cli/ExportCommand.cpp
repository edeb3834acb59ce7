#include "app/cli/ExportCommand.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <string_view>

#include "app/cli/CliBook.h"
#include "exchange/Export.h"
#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"
#include "platform/Files.h"

const char* const kExportUsage = "FILE -o OUT.xlsx|OUT.csv [--course KEY]";
const char* const kExportHelp =
    "the courses as an Excel workbook (one worksheet per course: heading block, then 序号 学号 姓名 班级 平时成绩 "
    "考试成绩 总成绩; numbers as numbers) or as CSV in UTF-8 with a BOM (all courses with a course key column, or "
    "one with --course). OUT must not be a grade file";

namespace {

constexpr int kUsage = 1, kRefused = 2;

int Usage(std::string_view why) {
  std::cerr << "gradesheet-cli export: " << why << "\nusage: gradesheet-cli export " << kExportUsage << '\n';
  return kUsage;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::string RefusedOutput(const std::string& out, const std::string& gradeFile) {
  const std::optional<platform::FileIdentity> target = platform::Identify(out);
  if (!target || !target->Regular) return {};
  const std::optional<platform::FileIdentity> source = platform::Identify(gradeFile);
  if (source && target->SameFile(*source)) return out + " is the grade file " + gradeFile + " itself";
  platform::FileStatus status;
  std::optional<platform::InputFile> file = platform::InputFile::Open(out, status);
  if (!file) return {};
  const std::string& magic = GradeTexts::MagicLine();
  std::string head(magic.size() + 1, '\0');
  std::size_t got = 0;
  while (got < head.size()) {
    const long n = file->Read(head.data() + got, head.size() - got, status);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  head.resize(got);
  const bool gradeFileAtOut = head.compare(0, magic.size(), magic) == 0 &&
                              (head.size() == magic.size() || head.back() == '\r' || head.back() == '\n');
  return gradeFileAtOut ? out + " is a grade file" : std::string();
}

int RunExport(std::span<const std::string> args) {
  std::string file, out, courseKey;
  bool course = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "-o" || word == "--output") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return Usage("-o needs the name of the output file");
      out = args[++i];
    } else if (word == "--course") {
      if (i + 1 >= args.size()) return Usage("--course needs a course key");
      courseKey = args[++i];
      course = true;
    } else if (word.size() > 1 && word[0] == '-') {
      return Usage("unknown option " + word);
    } else if (file.empty()) {
      file = word;
    } else {
      return Usage("one FILE only");
    }
  }
  if (file.empty()) return Usage("FILE is missing");
  if (out.empty()) return Usage("-o OUT.xlsx or -o OUT.csv is missing");
  const bool xlsx = EndsWithNoCase(out, ".xlsx");
  if (!xlsx && !EndsWithNoCase(out, ".csv")) return Usage("the output must end in .xlsx or .csv: " + out);

  GradeBook book;
  if (!LoadCliBook(file, book)) return kRefused;
  std::optional<std::string> key;
  if (course) {
    key = CliCourseKey(book, courseKey);
    if (!key) {
      std::cerr << "gradesheet-cli export: " << file << ": no course with the key \"" << courseKey << "\"\n";
      return kUsage;
    }
  }
  const std::vector<exchange::ExportCourse> courses = exchange::CoursesForExport(book, key);
  if (courses.empty()) {
    std::cerr << "gradesheet-cli export: " << file << ": no course to export\n";
    return kRefused;
  }
  if (std::string why = RefusedOutput(out, file); !why.empty()) {
    std::cerr << "gradesheet-cli export: " << why << "; not written\n";
    return kRefused;
  }
  const exchange::ExportResult written = xlsx ? exchange::WriteXlsxExport(out, courses)
                                              : exchange::WriteCsvExport(out, courses, !key.has_value());
  if (!written.Ok) {
    std::cerr << GbkToUtf8(written.Message) << '\n';
    return kRefused;
  }
  std::size_t students = 0;
  for (const exchange::ExportCourse& c : courses) students += c.Students.size();
  std::cerr << courses.size() << (courses.size() == 1 ? " course, " : " courses, ") << students
            << " students written to " << out << '\n';
  return 0;
}
