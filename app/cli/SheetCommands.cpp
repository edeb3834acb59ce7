#include "app/cli/SheetCommands.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/cli/BatchFiles.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "platform/Memory.h"
#include "printing/PrintSettings.h"
#include "printing/TdjxscjPrn.h"
#include "printing/TextCanvas.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/SheetPdf.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

using cli::Invocation;

// Qt's notes about its runtime directory and the like are not the user's
// business on a batch run; real failures still reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << "gradesheet-cli: " << message.toStdString() << '\n';
}

std::string TrimmedUtf8(std::string_view gbk) { return GbkToUtf8(TrimmedBlanks(gbk)); }

}  // namespace

int RunSheetText(const Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;

  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  TextCanvas::UseGrid(setup);
  const std::uint8_t mode = call.ByClass ? 1 : 0;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, mode, pages, rows);
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
  cli::StandardOutput out;
  for (std::int32_t page = first; page <= last && out.Ok(); ++page) {
    if (page > first) out << '\f';
    TextCanvas canvas;
    printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    out << GbkToUtf8(canvas.Render());
  }
  return out.Finish("text", 0);
}

int RunSheetStats(const Invocation& call) {
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;

  PrintSetup setup;
  const std::uint8_t mode = call.ByClass ? 1 : 0;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, mode, pages, rows);
  printer.MakePages();

  cli::StandardOutput out;
  out << "course\tclass\tpages\tdue\tcoursework\texamination\t90-100\t80-89\t70-79\t60-69\t"
         "below60\taverage\tfailure_rate\n";
  printer.EveryGroupFigures([&](std::int32_t, const TGroupFigures& f) {
    out << TrimmedUtf8(f.CourseKey) << '\t' << TrimmedUtf8(f.ClassCode) << '\t' << f.GroupPages << '\t'
        << TrimmedUtf8(f.Due) << '\t' << TrimmedUtf8(f.Coursework) << '\t' << TrimmedUtf8(f.Examination);
    for (const std::string& band : f.Bands) out << '\t' << TrimmedUtf8(band);
    out << '\t' << TrimmedUtf8(f.Average) << '\t' << TrimmedUtf8(f.FailureRate) << '\n';
    return out.Ok();
  });
  return out.Finish("stats", 0);
}

int RunSheetPdf(const Invocation& call) {
  if (call.SettingsDir && !std::filesystem::is_directory(*call.SettingsDir))
    return cli::BadUsage(*call.Command, "--settings: " + DisplayPath(*call.SettingsDir) + " 不是文件夹");
  std::string settingsDir;
  std::vector<std::string> inputs = {call.File()};
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
  GradeBook book;
  if (!cli::LoadBook(call.File(), book)) return 2;

  // Every page's compressor takes and frees the same buffers.
  platform::HoldFreedMemory();
  // A batch tool never opens a window: without a platform named by the
  // user, draw offscreen so that no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtMessages);
  static int argc = 1;
  static char name[] = "gradesheet-cli";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
  InstallFontSubstitutes();

  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = kPdfDpi;
  if (call.SettingsDir) LoadPrintSettings(settingsDir, setup);
  else ApplyDefaultPrintSettings(setup);
  const std::uint8_t mode = call.ByClass ? 1 : 0;
  const std::int32_t first = call.Pages ? call.Pages->first : 1;
  const std::int32_t last = call.Pages ? call.Pages->second : INT32_MAX;
  SheetPdfOptions options;
  options.Threads = call.Threads.value_or(0);
  const SheetPdfResult result = WriteSheetPdf(call.Out, book, setup, mode, first, last, options);
  if (result.Why == SheetPdfResult::NoPageInRange) {
    cli::Complain("pdf", DisplayPath(call.File()) + ": 没有可打印的页（成绩表共 " +
                             std::to_string(result.PageCount) + " 页）");
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
