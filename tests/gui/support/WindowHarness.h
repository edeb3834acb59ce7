#pragma once
// A main window for one test: scripted dialogs, its own program directory in a
// temporary folder, shown offscreen.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "support/ScriptedDialogs.h"

class WindowHarness {
 public:
  explicit WindowHarness(bool show = true);
  ~WindowHarness();

  QTemporaryDir Dir;
  ScriptedDialogs* Script = nullptr;  // owned by the window
  std::unique_ptr<MainWindow> W;

  // Writes a file into Dir and returns its path.
  QString Write(const QString& name, const std::string& bytes);
  // Answers the open dialog with `path` and runs the open command.
  void Open(const QString& path);
  // Selects a student grid cell as a click would (grid coordinates: row 0 is
  // the heading).
  void Select(int row, int col);
  // Selects a row of the course list.
  void SelectCourse(int row);
  QString Cell(int row, int col) const;  // what the grid shows
};
