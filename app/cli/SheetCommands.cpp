#include "app/cli/SheetCommands.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"
#include "grading/GradeParser.h"
#include "printing/PrintSettings.h"
#include "printing/TdjxscjPrn.h"
#include "printing/TextCanvas.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/SheetPdf.h"

const char* const kSheetTextUsage = "FILE [--by-class] [--page N]";
const char* const kSheetTextHelp =
    "the grade sheet as plain text on its grid (one column per GBK byte), every page or page N, "
    "a form feed between pages; --by-class: the sheet split by class";
const char* const kSheetPdfUsage = "FILE -o OUT.pdf [--by-class] [--pages A-B] [--settings DIR]";
const char* const kSheetPdfHelp =
    "the grade sheet as a PDF on A4 at 600 dpi, one PDF page per sheet page, with the fonts and "
    "margins of DIR/qprtpara.dat (default: the built-in ones)";
const char* const kSheetStatsUsage = "FILE [--by-class]";
const char* const kSheetStatsHelp =
    "one tab-separated line per sheet group after a header line: course key, class, pages, "
    "students due, coursework and examination shares, the five band counts, average, failure "
    "rate, as the sheet prints them (empty where it leaves a blank)";

namespace {

using Args = std::span<const std::string>;

int Usage(std::string_view command, std::string_view why) {
  std::cerr << "gradesheet-cli " << command << ": " << why << "\nusage: gradesheet-cli " << command
            << ' ';
  if (command == "text") std::cerr << kSheetTextUsage;
  if (command == "pdf") std::cerr << kSheetPdfUsage;
  if (command == "stats") std::cerr << kSheetStatsUsage;
  std::cerr << '\n';
  return 1;
}

std::optional<int> ParsePositive(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

struct SheetOptions {
  std::string File;
  bool ByClass = false;
  std::optional<int> Page;                 // text
  std::string Out;                         // pdf
  std::optional<std::pair<int, int>> Pages;  // pdf
  std::optional<std::string> SettingsDir;  // pdf
};

// Reads the words of a command; returns the usage complaint, empty when fine.
std::string ParseOptions(std::string_view command, Args args, SheetOptions& options) {
  const bool text = command == "text", pdf = command == "pdf";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    auto value = [&]() -> const std::string* {
      return i + 1 < args.size() ? &args[++i] : nullptr;
    };
    if (word == "--by-class") {
      options.ByClass = true;
    } else if (text && word == "--page") {
      const std::string* v = value();
      if (!v || !(options.Page = ParsePositive(*v))) return "--page needs a page number from 1";
    } else if (pdf && (word == "-o" || word == "--output")) {
      const std::string* v = value();
      if (!v || v->empty()) return "-o needs the name of the PDF file";
      options.Out = *v;
    } else if (pdf && word == "--pages") {
      const std::string* v = value();
      if (!v) return "--pages needs a range A-B";
      const std::size_t dash = v->find('-');
      auto first = ParsePositive(std::string_view(*v).substr(0, dash));
      auto last = dash == std::string::npos ? first : ParsePositive(std::string_view(*v).substr(dash + 1));
      if (!first || !last || *first > *last) return "--pages needs a range A-B with 1 <= A <= B";
      options.Pages.emplace(*first, *last);
    } else if (pdf && word == "--settings") {
      const std::string* v = value();
      if (!v) return "--settings needs a directory";
      options.SettingsDir = *v;
    } else if (!word.empty() && word[0] == '-' && word != "-") {
      return "unknown option " + word;
    } else if (options.File.empty()) {
      options.File = word;
    } else {
      return "one FILE only";
    }
  }
  if (options.File.empty()) return "FILE is missing";
  if (pdf && options.Out.empty()) return "-o OUT.pdf is missing";
  return {};
}

// The book of FILE with its course list, or the load message on stderr.
bool LoadSheetBook(const std::string& file, GradeBook& book) {
  const LoadResult loaded = book.Load(file);
  if (loaded.Outcome != LoadOutcome::Loaded) {
    std::cerr << loaded.Message << '\n';
    return false;
  }
  book.BuildCourseList();
  return true;
}

// Qt's notes about its runtime directory and the like are not the user's
// business on a batch run; real failures still reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << "gradesheet-cli: " << message.toStdString() << '\n';
}

std::string TrimmedUtf8(std::string_view gbk) {
  std::string s(gbk);
  TrimBlanks(s);
  return GbkToUtf8(s);
}

}  // namespace

int RunSheetText(Args args) {
  SheetOptions options;
  if (std::string why = ParseOptions("text", args, options); !why.empty()) return Usage("text", why);
  GradeBook book;
  if (!LoadSheetBook(options.File, book)) return 2;

  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  TextCanvas::UseGrid(setup);
  const std::uint8_t mode = options.ByClass ? 1 : 0;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, mode, pages, rows);
  printer.MakePages();

  int first = 1, last = std::min(printer.FPageCount, 65535);
  if (options.Page) {
    if (*options.Page > printer.FPageCount) {
      std::cerr << "gradesheet-cli text: " << options.File << ": no page " << *options.Page
                << " (the sheet has " << printer.FPageCount << " pages)\n";
      return 1;
    }
    first = last = *options.Page;
  }
  for (int page = first; page <= last; ++page) {
    if (page > first) std::cout << '\f';
    TextCanvas canvas;
    printer.DrawPage(canvas, static_cast<std::uint16_t>(page), DevicePrinter, 1.0);
    std::cout << GbkToUtf8(canvas.Render());
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}

int RunSheetStats(Args args) {
  SheetOptions options;
  if (std::string why = ParseOptions("stats", args, options); !why.empty()) return Usage("stats", why);
  GradeBook book;
  if (!LoadSheetBook(options.File, book)) return 2;

  PrintSetup setup;
  const std::uint8_t mode = options.ByClass ? 1 : 0;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, mode, pages, rows);
  printer.MakePages();

  std::cout << "course\tclass\tpages\tdue\tcoursework\texamination\t90-100\t80-89\t70-79\t60-69\t"
               "below60\taverage\tfailure_rate\n";
  for (std::size_t i = 0; i < pages.size() && i < 65535; ++i) {
    if (i > 0 && pages[i - 1].GroupIndex == pages[i].GroupIndex) continue;
    TGroupFigures f;
    if (!printer.PageFigures(static_cast<std::uint16_t>(i + 1), f)) continue;
    std::cout << TrimmedUtf8(f.CourseKey) << '\t' << TrimmedUtf8(f.ClassCode) << '\t'
              << f.GroupPages << '\t' << TrimmedUtf8(f.Due) << '\t' << TrimmedUtf8(f.Coursework)
              << '\t' << TrimmedUtf8(f.Examination);
    for (const std::string& band : f.Bands) std::cout << '\t' << TrimmedUtf8(band);
    std::cout << '\t' << TrimmedUtf8(f.Average) << '\t' << TrimmedUtf8(f.FailureRate) << '\n';
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}

int RunSheetPdf(Args args) {
  SheetOptions options;
  if (std::string why = ParseOptions("pdf", args, options); !why.empty()) return Usage("pdf", why);
  if (options.SettingsDir && !std::filesystem::is_directory(*options.SettingsDir))
    return Usage("pdf", "--settings: " + *options.SettingsDir + " is not a directory");
  GradeBook book;
  if (!LoadSheetBook(options.File, book)) return 2;

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
  if (options.SettingsDir) {
    std::string dir = *options.SettingsDir;
    if (dir.back() != '/') dir += '/';
    LoadPrintSettings(MakeAppDir(dir), setup);
  } else {
    ApplyDefaultPrintSettings(setup);
  }
  const std::uint8_t mode = options.ByClass ? 1 : 0;
  const int first = options.Pages ? options.Pages->first : 1;
  const int last = options.Pages ? options.Pages->second : 65535;
  const SheetPdfResult result =
      WriteSheetPdf(QString::fromStdString(options.Out), book, setup, mode, first, last);
  if (!result.Ok) {
    std::cerr << "gradesheet-cli pdf: " << options.File << ": " << GbkToUtf8(result.Message);
    if (result.Why == SheetPdfResult::NoPageInRange)
      std::cerr << " (the sheet has " << result.PageCount << " pages)";
    std::cerr << '\n';
    // A range past the end is a bad option; a sheet without pages a file
    // that cannot be printed.
    return result.Why == SheetPdfResult::NoPageInRange && result.PageCount > 0 ? 1 : 2;
  }
  std::cerr << result.PagesWritten << " of " << result.PageCount << " pages written to "
            << options.Out << '\n';
  return 0;
}
