#include "app/cli/SheetCommands.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "app/cli/BatchFiles.h"
#include "app/cli/OffscreenGui.h"
#include "app/cli/BatchInputs.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "platform/Memory.h"
#include "printing/CourseChoice.h"
#include "printing/PrintSettings.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/TextCanvas.h"
#include "printing/qt/SheetPdf.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

using cli::Invocation;

std::string TrimmedUtf8(std::string_view gbk) { return cli::Shown(TrimmedBlanks(gbk)); }

// A drawn page's lines, the data on them shown without control characters.
std::string ShownPage(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 8);
  for (std::size_t start = 0; start <= gbk.size();) {
    const std::size_t end = std::min(gbk.find('\n', start), gbk.size());
    out += cli::Shown(gbk.substr(start, end - start));
    if (end < gbk.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

int RunSheetText(const Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;

  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  TextCanvas::UseGrid(setup);
  const SheetKind kind = call.ByClass ? SheetKind::ByClass : SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();

  std::int32_t first = 1, last = printer.FPageCount;
  if (call.Page) {
    if (*call.Page > printer.FPageCount) {
      cli::Complain("text", DisplayPath(call.File()) + ": 没有第 " + std::to_string(*call.Page) + " 页（成绩表共 " +
                                std::to_string(printer.FPageCount) + " 页）");
      return 1;
    }
    first = last = *call.Page;
  }
  printer.IndexHeads();  // one scan of the header lines for all pages, not one a page
  cli::StandardOutput out;
  for (std::int32_t page = first; page <= last && out.Ok(); ++page) {
    if (page > first) out << '\f';
    TextCanvas canvas;
    printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    out << ShownPage(canvas.Render());
  }
  return out.Finish("text", 0);
}

namespace {

// The statistics lines of one book, each after `prefix`.
void WriteStats(cli::StandardOutput& out, std::string_view prefix, const GradeBook& book, SheetKind kind) {
  PrintSetup setup;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  printer.EveryGroupFigures([&](std::int32_t, const TGroupFigures& f) {
    out << prefix << TrimmedUtf8(f.CourseKey) << '\t' << TrimmedUtf8(f.ClassCode) << '\t' << f.GroupPages << '\t'
        << TrimmedUtf8(f.Due) << '\t' << TrimmedUtf8(f.Coursework) << '\t' << TrimmedUtf8(f.Examination);
    for (const std::string& band : f.Bands) out << '\t' << TrimmedUtf8(band);
    out << '\t' << TrimmedUtf8(f.Average) << '\t' << TrimmedUtf8(f.FailureRate) << '\n';
    return out.Ok();
  });
}

}  // namespace

int RunSheetStats(const Invocation& call) {
  const cli::BatchInputs inputs = cli::GatherInputs("stats", call.Operands);
  const SheetKind kind = call.ByClass ? SheetKind::ByClass : SheetKind::WholeCourse;
  cli::StandardOutput out;
  out << (inputs.Several ? "file\t" : "")
      << "course\tclass\tpages\tdue\tcoursework\texamination\t90-100\t80-89\t70-79\t60-69\t"
         "below60\taverage\tfailure_rate\n";
  const std::size_t failed = cli::ForEachBook("stats", "统计", inputs, [&](const std::string& file, GradeBook& book) {
    WriteStats(out, inputs.Several ? DisplayPath(file) + '\t' : std::string(), book, kind);
    return out.Ok();
  });
  return out.Finish("stats", failed > 0 ? 2 : 0);
}

int RunSheetPdf(const Invocation& call) {
  if (call.SettingsDir && !std::filesystem::is_directory(*call.SettingsDir))
    return cli::BadUsage(*call.Command, "--settings: " + DisplayPath(*call.SettingsDir) + " 不是文件夹");
  std::string settingsDir;
  const cli::BatchInputs batch = cli::GatherInputs("pdf", call.Operands);
  std::vector<std::string> inputs = batch.Files;
  if (call.SettingsDir) {
    settingsDir = *call.SettingsDir;
    if (settingsDir.back() != '/') settingsDir += '/';
    settingsDir = MakeAppDir(settingsDir);
    inputs.push_back(SettingsFileName(settingsDir));
  }
  if (const std::string refused = OutputRefusal(call.Out, inputs); !refused.empty()) {
    cli::Complain("pdf", refused);
    return 2;
  }
  std::vector<GradeBook> books;
  books.reserve(batch.Files.size());
  // A PDF without one of the files asked for would pass for the whole set.
  if (cli::ForEachBook("pdf", "读取", batch, [&](const std::string&, GradeBook& book) {
        books.push_back(std::move(book));
        return true;
      }) > 0)
    return 2;
  CourseChoice choice;
  if (!call.Courses.empty()) {
    std::vector<std::string> wanted, known;
    for (const std::string& typed : call.Courses) wanted.push_back(Utf8ToGbk(typed).value_or(typed));
    for (const GradeBook& book : books) known.insert(known.end(), book.CourseKeys.begin(), book.CourseKeys.end());
    const std::vector<std::string> missing = MissingCourseKeys(wanted, known);
    for (const std::string& key : missing) {
      const auto typed = call.Courses.begin() + (std::find(wanted.begin(), wanted.end(), key) - wanted.begin());
      cli::Complain("pdf", "没有课程号为\"" + DisplayPath(*typed) + "\"的课程");
    }
    if (!missing.empty()) return 1;
    choice = CourseChoice::Chosen(wanted);
  }

  // Every page's compressor takes and frees the same buffers.
  platform::HoldFreedMemory();
  const cli::DrawingSession drawing;

  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = kPdfDpi;
  if (call.SettingsDir) LoadPrintSettings(settingsDir, setup);
  else ApplyDefaultPrintSettings(setup);
  const SheetKind kind = call.ByClass ? SheetKind::ByClass : SheetKind::WholeCourse;
  const std::int32_t first = call.Pages ? call.Pages->first : 1;
  const std::int32_t last = call.Pages ? call.Pages->second : INT32_MAX;
  SheetPdfOptions options;
  options.Threads = call.Threads.value_or(0);
  cli::BatchProgress progress;
  options.Progress = [&progress](int done) {
    progress.Show("已绘制 " + std::to_string(done) + " 页");
    return true;
  };
  std::vector<const GradeBook*> sheets;
  for (const GradeBook& book : books) sheets.push_back(&book);
  const SheetPdfResult result = WriteSheetsPdf(call.Out, sheets, setup, kind, choice, first, last, options);
  progress.Wipe();
  if (result.Why == SheetPdfResult::NoPageInRange) {
    const std::string what = batch.Several ? std::string("所给的文件") : DisplayPath(call.File());
    cli::Complain("pdf", what + ": 没有可打印的页（成绩表共 " + std::to_string(result.PageCount) + " 页）");
    // A range past the end is a bad option; a sheet without pages a file
    // that cannot be printed.
    return result.PageCount > 0 ? 1 : 2;
  }
  if (!result.Ok) {
    cli::Complain("pdf", DisplayPath(call.Out) + "写入失败: " + FileErrorReason(result.Status) +
                             "，未写入任何内容。");
    return 2;
  }
  std::cerr << "已将 " << result.PagesWritten << " 页（成绩表共 " << result.PageCount << " 页）写入 "
            << DisplayPath(call.Out) << '\n';
  return 0;
}
