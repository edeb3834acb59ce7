// The desktop program: one main window, and the grade file named on the
// command line (a file manager's "open with" names it there). --version,
// --help and a wrong command line are answered before Qt looks for a display.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/QtDialogs.h"
#include "app/Glyphs.h"
#include "app/MainWindow.h"
#include "platform/Files.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/QtText.h"
#include "text/About.h"

namespace {

constexpr const char* kUsage =
    "用法: gradesheet [成绩文件]\n"
    "      gradesheet --version\n"
    "打开成绩文件，录入平时成绩和考试成绩，预览并打印成绩表。\n";

// Qt's own options (a display, a style, a platform), which QApplication
// takes out of the command line itself; the ones that are followed by a value.
bool IsQtOption(std::string_view arg, bool& takesValue) {
  static constexpr std::string_view withValue[] = {
      "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
      "-qwindowtitle", "-qwindowicon", "-style", "-stylesheet", "-session", "-display",
      "-geometry", "-title", "-name", "-font", "-fn", "-bg", "-fg", "-btn", "-visual"};
  static constexpr std::string_view alone[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                               "-sync"};
  if (arg.starts_with("--")) arg.remove_prefix(1);
  if (const std::size_t eq = arg.find('='); eq != arg.npos) {
    arg = arg.substr(0, eq);
    takesValue = false;
    for (std::string_view o : withValue)
      if (arg == o) return true;
    return false;
  }
  for (std::string_view o : withValue)
    if (arg == o) return takesValue = true;
  for (std::string_view o : alone)
    if (arg == o) return !(takesValue = false);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt looks for a display, so that it works without one.
  const char* file = nullptr;
  bool usageError = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    bool takesValue = false;
    if (arg == "--") {  // a file whose name starts with '-'
      usageError = usageError || i + 2 < argc || (i + 1 < argc && file != nullptr);
      if (i + 1 < argc) file = argv[i + 1];
      break;
    }
    if (arg == "--version") {
      std::fputs(about::VersionText("gradesheet", GRADESHEET_VERSION).c_str(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      if (IsQtOption(arg, takesValue)) {
        i += takesValue ? 1 : 0;
        continue;
      }
      std::fprintf(stderr, "gradesheet: 不认识的选项 %s\n", argv[i]);
      usageError = true;
      continue;
    }
    if (file != nullptr) usageError = true;  // one file at a time
    file = argv[i];
  }
  if (usageError) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  // A file-size limit must fail a save with a message, not kill the program
  // with the teacher's grades in it.
  platform::IgnoreFileSizeSignal();
  // The name places the user's settings (~/.config/gradesheet) and ties the
  // window to its desktop entry and icon.
  QApplication::setApplicationName(QStringLiteral("gradesheet"));
  QApplication::setApplicationVersion(QStringLiteral(GRADESHEET_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(GRADESHEET_APP_ID));
  QApplication app(argc, argv);
  InstallGlyphStyle();
  InstallFontSubstitutes();
  InstallQtTranslations();
  QApplication::setFont(preview::FormFont());  // message boxes and dialogs read Chinese too
  MainWindow window;
  window.show();
  // Opened once the window is up, so that its messages stand over it.
  if (file != nullptr)
    QTimer::singleShot(0, &window, [&window, name = PathToQString(file)] { window.OpenNamedFile(name); });
  else
    QTimer::singleShot(0, &window, [&window] { window.OfferLeftJournals(); });
  return app.exec();
}
