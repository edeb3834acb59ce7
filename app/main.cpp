// The desktop program: one main window; --version is answered before Qt
// looks for a display.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/QtDialogs.h"
#include "app/Tdataout.h"
#include "platform/Files.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"

int main(int argc, char** argv) {
  // Answered before Qt looks for a display, so that it works without one.
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("gradesheet " GRADESHEET_VERSION "\n", stdout);
      return std::fflush(stdout) == 0 ? 0 : 2;
    }
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
  InstallFontSubstitutes();
  InstallQtTranslations();
  QApplication::setFont(preview::FormFont());  // message boxes and dialogs read Chinese too
  Tdataout window;
  window.show();
  return app.exec();
}
