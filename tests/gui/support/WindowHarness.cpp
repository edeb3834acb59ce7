#include "support/WindowHarness.h"

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

void WindowHarness::Select(int row, int col) { W->studentGrid()->setCurrentCell(row, col); }

void WindowHarness::SelectCourse(int row) { W->courseList()->ChooseRow(row); }

QString WindowHarness::Cell(int row, int col) const {
  return row == 0 ? W->studentGrid()->Heading(col) : W->studentGrid()->CellText(row, col);
}

QColor WindowHarness::Face(int row, int col) const {
  const QVariant face = W->studentGrid()->IndexOf(row, col).data(Qt::BackgroundRole);
  return face.isValid() ? face.value<QColor>() : W->studentGrid()->palette().color(QPalette::Base);
}

QString WindowHarness::Tip(int row, int col) const {
  return W->studentGrid()->IndexOf(row, col).data(Qt::ToolTipRole).toString();
}

QRect WindowHarness::CellRect(int row, int col) const { return W->studentGrid()->CellRect(row, col); }

int WindowHarness::LastRow() const { return W->studentGrid()->LastRow(); }

std::vector<GridRange> WindowHarness::Selected() const { return W->studentGrid()->SelectedRanges(); }

void WindowHarness::SelectRange(const GridRange& range) { W->studentGrid()->SelectRange(range); }

int WindowHarness::CourseRow() const { return W->courseList()->currentRow(); }

int WindowHarness::CourseRows() const { return W->courseList()->model()->rowCount(); }

QString WindowHarness::CourseText(int row) const {
  if (row == 0) return W->courseList()->model()->headerData(0, Qt::Horizontal).toString();
  return W->courseList()->model()->index(row - 1, 0).data().toString();
}
