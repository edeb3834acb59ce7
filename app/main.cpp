// The desktop program: one main window, no command-line arguments of its own.
#include <QApplication>

#include "app/Tdataout.h"
#include "printing/qt/Fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(13);
  QApplication::setFont(font);  // message boxes and dialogs read Chinese too
  Tdataout window;
  window.show();
  return app.exec();
}
