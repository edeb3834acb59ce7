// The desktop program: one main window, no command-line arguments of its own.
#include <QApplication>

#include "app/QtDialogs.h"
#include "app/Tdataout.h"
#include "platform/Files.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"

int main(int argc, char** argv) {
  // A file-size limit must fail a save with a message, not kill the program
  // with the teacher's grades in it.
  platform::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  InstallQtTranslations();
  QApplication::setFont(preview::FormFont());  // message boxes and dialogs read Chinese too
  Tdataout window;
  window.show();
  return app.exec();
}
