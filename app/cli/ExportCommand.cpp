#include "app/cli/ExportCommand.h"

#include <iostream>
#include <optional>
#include <string_view>

#include "app/cli/BatchFiles.h"
#include "exchange/Export.h"
#include "gradefile/FileMessages.h"
#include "text/Gbk.h"
#include "text/Texts.h"
#include "gradefile/GradeBook.h"

namespace {
constexpr int kRefused = 2;
}  // namespace

int RunExport(const cli::Invocation& call) {
  const std::string& file = call.File();
  const std::string& out = call.Out;
  const std::optional<exchange::ExportFormat> format = exchange::ExportFormatOf(out);
  const bool xlsx = format == exchange::ExportFormat::Xlsx;
  if (!format)
    return cli::BadUsage(*call.Command, "输出文件名应以 .xlsx 或 .csv 结尾: " + DisplayPath(out));

  GradeBook book;
  if (!cli::LoadBook(file, book)) return kRefused;
  std::optional<std::string> key;
  if (call.Course) {
    key = cli::CourseKeyOf(book, *call.Course);
    if (!key) return cli::NoSuchCourse("export", file, *call.Course);
  }
  const std::vector<exchange::ExportCourse> courses = exchange::CoursesForExport(book, key);
  if (courses.empty()) {
    cli::Complain("export", DisplayPath(file) + ": " + std::string(texts::kNothingToExport));
    return kRefused;
  }
  const std::string inputs[] = {file};
  if (const std::string refused = OutputRefusal(out, inputs); !refused.empty()) {
    cli::Complain("export", refused);
    return kRefused;
  }
  const exchange::ExportResult written = xlsx ? exchange::WriteXlsxExport(out, courses)
                                              : exchange::WriteCsvExport(out, courses, !key.has_value());
  if (!written.Ok) {
    std::cerr << written.Message << '\n';
    return kRefused;
  }
  std::size_t students = 0;
  for (const exchange::ExportCourse& c : courses) students += c.Students.size();
  std::cerr << "已导出 " << courses.size() << " 门课程、" << students << " 名学生的成绩到 " << DisplayPath(out)
            << '\n';
  return 0;
}
