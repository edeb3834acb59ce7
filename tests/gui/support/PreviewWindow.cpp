#include "support/PreviewWindow.h"

#include <QLabel>

#include "printing/PrintSettings.h"
#include "support/SheetFiles.h"

PreviewWindow::PreviewWindow(int bodyPoints) {
  const QString dir = Dir.path() + "/";
  if (bodyPoints > 0) {
    PrintSetup setup;
    setup.Metrics[DevicePrinter].Dpi = 600;
    ApplyDefaultPrintSettings(setup);
    setup.BodyFont.Size = bodyPoints;
    SavePrintSettings(MakeAppDir(dir.toStdString()), setup);
  }
  auto script = std::make_unique<ScriptedDialogs>();
  Script = script.get();
  Window = std::make_unique<MainWindow>(std::move(script), dir);
  // As the window's first paint does, without showing it.
  Window->EnsurePreview();
}

bool PreviewWindow::Open(int courses, int perCourse, const QString& name) {
  const QString file = Path(name);
  if (!WriteSheetFile(file, UniformCourses(courses, perCourse))) return false;
  Script->OpenFiles.push_back(file);
  Window->openFile();
  return !Window->document().FileName().empty();
}

QStringList PreviewWindow::Status() const {
  QStringList out;
  for (int i = 0; i < 3; ++i) out << (Window->statusPanel(i) ? Window->statusPanel(i)->text() : QString("<none>"));
  return out;
}
