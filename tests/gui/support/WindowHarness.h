#pragma once
// A main window for one test: scripted dialogs, its own program directory in a
// temporary folder, shown offscreen.
#include <QColor>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "app/EditingGrids.h"
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
  // Selects a row of the course list (a course's row from 1).
  void SelectCourse(int row);
  QString Cell(int row, int col) const;  // what the grid shows; row 0 the heading
  QColor Face(int row, int col) const;   // a cell's background as drawn
  QString Tip(int row, int col) const;   // a cell's tool tip
  QRect CellRect(int row, int col) const;  // in the grid's viewport
  int LastRow() const;                   // the grid's last row (rows from 1 under the heading)
  std::vector<GridRange> Selected() const;
  void SelectRange(const GridRange& range);
  int CourseRow() const;                 // the course list's current row from 1; -1 for none
  int CourseRows() const;                // the course list's rows (one empty row without courses)
  QString CourseText(int row) const;     // row 0 the heading
};
