// Shows the program's controls for the accessibility walk (walk.py): the
// window's editing view and its preview, or every dialog of the program at
// once, not modal, each with the content a teacher would see. Prints
// "ready" when all are shown and runs until it is killed.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <list>
#include <memory>
#include <vector>

#include "app/AboutDialog.h"
#include "app/ExportScopeDialog.h"
#include "app/FindingsDialog.h"
#include "app/ImportDialog.h"
#include "app/ShortcutsDialog.h"
#include "exchange/ImportSession.h"
#include "gradefile/GradeBook.h"
#include "preview/DialogLook.h"
#include "preview/MarginsDialog.h"
#include "preview/ChoosePageDialog.h"
#include "printing/qt/Fonts.h"
#include "support/GradeFiles.h"
#include "support/PreviewWindow.h"
#include "support/WindowHarness.h"

namespace {

void ShowDialogs(std::vector<std::unique_ptr<QDialog>>& dialogs, GradeBook& book,
                 std::unique_ptr<exchange::ImportSession>& session, PageMetrics& metrics, const QString& csv) {
  std::vector<FindingRow> rows{{"高等数学(一)", "2022000001", "王小明", "平时成绩", "8O", "无法识别的成绩"}};
  dialogs.push_back(std::make_unique<FindingsDialog>(FindingsPurpose::Save, rows));
  dialogs.push_back(std::make_unique<ExportScopeDialog>(QStringLiteral("高等数学(一)"), 3, nullptr));
  dialogs.push_back(std::make_unique<MarginsDialog>(metrics));
  auto choose = std::make_unique<ChoosePageDialog>();
  choose->fillPages(4, 2);
  choose->ShowLabels({QStringLiteral("高等数学(一) 计科2301 (1/2)"), QStringLiteral("高等数学(一) 计科2301 (2/2)"),
                      QStringLiteral("高等数学(一) 计科2302 (1/1)"), QStringLiteral("数据库原理 计科2301 (1/1)")});
  dialogs.push_back(std::move(choose));
  dialogs.push_back(std::make_unique<ShortcutsDialog>());
  dialogs.push_back(std::make_unique<AboutDialog>());
  session = std::make_unique<exchange::ImportSession>(book, book.CourseKeys.front(), csv.toStdString());
  dialogs.push_back(std::make_unique<ImportDialog>(
      ImportOffer{csv, QStringLiteral("高等数学(一)"), session.get()}, nullptr));
  for (auto& dialog : dialogs) dialog->show();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication::setApplicationName(QStringLiteral("gradesheet-a11y"));
  QApplication::setApplicationVersion(QStringLiteral("0"));
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  QApplication::setFont(preview::FormFont());
  const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

  // The window: the editing view with a course shown, its bar and the find
  // bar; a second window shows the preview.
  std::unique_ptr<WindowHarness> editing;
  std::unique_ptr<PreviewWindow> preview;
  // The dialogs and what they show.
  std::vector<std::unique_ptr<QDialog>> dialogs;
  GradeBook book;
  std::unique_ptr<exchange::ImportSession> session;
  PageMetrics metrics{};
  QTemporaryDir dir;

  if (what == QLatin1String("window")) {
    editing = std::make_unique<WindowHarness>(true);
    std::vector<std::string> lines = testfiles::ThreeCourses();
    const QString path = editing->Write(QStringLiteral("grades.txt"), testfiles::FileBytes(lines));
    editing->Open(path);
    editing->Select(1, 4);
    editing->W->showFindBar();
    preview = std::make_unique<PreviewWindow>();
    preview->Open(2, 40);
    preview->W().showSheet();
    preview->W().show();
  } else if (what == QLatin1String("dialogs")) {
    if (book.Load(GS_SAMPLES "/demo.txt").Outcome != LoadOutcome::Loaded) return 2;
    book.BuildCourseList();
    const QString csv = dir.filePath(QStringLiteral("marking.csv"));
    testfiles::WriteFile(csv, "学号,姓名,平时,期末\n2022000001,王小明,80,90\n");
    metrics[DevicePrinter].Dpi = 600;
    metrics[DeviceScreen].Dpi = 96;
    ShowDialogs(dialogs, book, session, metrics, csv);
  } else {
    std::fputs("usage: a11y_showcase window|dialogs\n", stderr);
    return 1;
  }
  // Ready once the windows are mapped and their trees registered.
  QTimer::singleShot(1500, [] {
    // Pictures to look at, when asked for.
    const QString shots = qEnvironmentVariable("GS_SCREENSHOT_DIR");
    if (!shots.isEmpty())
      for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && !top->objectName().isEmpty())
          top->grab().save(shots + QStringLiteral("/a11y-") + top->objectName() + QStringLiteral(".png"));
    std::puts("ready");
    std::fflush(stdout);
  });
  return app.exec();
}
