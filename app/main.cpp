// The desktop program: one main window, no command-line arguments of its own.
#include <QApplication>

#include "app/QtDialogs.h"
#include "app/Tdataout.h"
#include "platform/Files.h"
#include "printing/qt/Fonts.h"

int main(int argc, char** argv) {
  // A file-size limit must fail a save with a message, not kill the program
  // with the teacher's grades in it.
  platform::IgnoreFileSizeSignal();
  // The name places the user's settings (~/.config/gradesheet).
  QApplication::setApplicationName(QStringLiteral("gradesheet"));
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  InstallQtTranslations();
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(13);
  QApplication::setFont(font);  // message boxes and dialogs read Chinese too
  Tdataout window;
  window.show();
  return app.exec();
}
