#include "support/WindowHarness.h"

#include <QTableWidget>
#include <QTest>

#include "support/GradeFiles.h"

WindowHarness::WindowHarness(bool show) {
  auto script = std::make_unique<ScriptedDialogs>();
  Script = script.get();
  W = std::make_unique<MainWindow>(std::move(script), Dir.path());
  if (show) {
    W->show();
    W->activateWindow();
    (void)QTest::qWaitForWindowExposed(W.get());
    (void)QTest::qWaitForWindowActive(W.get());
  }
}

WindowHarness::~WindowHarness() = default;

QString WindowHarness::Write(const QString& name, const std::string& bytes) {
  const QString path = Dir.filePath(name);
  testfiles::WriteFile(path, bytes);
  return path;
}

void WindowHarness::Open(const QString& path) {
  Script->OpenFiles.push_back(path);
  W->openFile();
}

void WindowHarness::Select(int row, int col) { W->studentGrid->setCurrentCell(row, col); }

void WindowHarness::SelectCourse(int row) { W->courseList->setCurrentCell(row, 0); }

QString WindowHarness::Cell(int row, int col) const {
  const QTableWidgetItem* item = W->studentGrid->item(row, col);
  return item != nullptr ? item->text() : QString();
}
