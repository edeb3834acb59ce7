// Start-up to the first paint of the main window, as app/main.cpp starts it
// (qt_startup), or of a bare Qt Widgets window with a 40 x 7 table for
// comparison (qt_startup_bare: the same source built with GS_BARE_WINDOW
// and linked to Qt Widgets alone, as a small Qt program is, shown in the
// window's font family and at its size). Prints the wall-clock time
// (nanoseconds since the epoch) of the first paint and exits;
// bench/startup.sh takes the time before the start from it.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#ifndef GS_BARE_WINDOW
#include "app/Glyphs.h"
#include "app/QtDialogs.h"
#include "app/MainWindow.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"
#endif

namespace {

// Quits at the first paint of any widget of the window.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
      std::fflush(stdout);
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  FirstPaint firstPaint;
  std::unique_ptr<QApplication> app;
  std::unique_ptr<QWidget> window;
#ifdef GS_BARE_WINDOW
  app = std::make_unique<QApplication>(argc, argv);
  // Shown as the main window is, for a fair comparison: the same font family
  // and size, and the same place and size on the screen (its backing store
  // and the glyphs it draws weigh in the figures).
  QFont font(QStringLiteral("AR PL UMing CN"));
  font.setPixelSize(13);
  QApplication::setFont(font);
  auto* main = new QMainWindow;
  auto* table = new QTableView;
  table->setModel(new QStandardItemModel(40, 7, table));
  main->setCentralWidget(table);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    main->setGeometry(screen->availableGeometry().marginsRemoved(QMargins(4, 30, 4, 4)));
  window.reset(main);
#else
  QApplication::setApplicationName(QStringLiteral("gradesheet"));
  app = std::make_unique<QApplication>(argc, argv);
  InstallGlyphStyle();
  InstallFontSubstitutes();
  InstallQtTranslations();
  QApplication::setFont(preview::FormFont());
  window = std::make_unique<MainWindow>();
#endif
  app->installEventFilter(&firstPaint);
  window->show();
  const int code = app->exec();
  window.reset();
  return code;
}
