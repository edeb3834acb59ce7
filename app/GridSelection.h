#pragma once
// The student grid selects as a spreadsheet does: Shift+arrows, Shift+Home
// and Shift+End (with Ctrl: to the first and last student) and Ctrl+A
// select a block of grade cells from the current cell, closing the grade
// editor (its text is in the file already); a mouse drag selects without
// opening the editor. The block is what Ctrl+C copies and Delete empties.
// Which cells a key selects is the core's rule (gradefile/KeyMoves.h).
#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

#include "gradefile/KeyMoves.h"

class QKeyEvent;
class QSignalBlocker;
class MainWindow;

class GridSelection : public QObject {
  Q_OBJECT

 public:
  explicit GridSelection(MainWindow& window);
  ~GridSelection() override;

  // The block selected by keys or a drag; nothing when none is.
  std::optional<GradeBlock> Block() const { return block_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool TakeKey(QKeyEvent* key);
  bool TakeMouse(QEvent* event);
  void Select(const GradeBlock& block);
  void EndDrag(QPoint to);  // (row, column) the drag ended at; (-1, -1) outside the cells
  std::optional<StudentCell> CurrentCell() const;
  int Students() const;

  MainWindow& w_;
  std::optional<GradeBlock> block_;
  // A drag: the cell it started at, and the grid's signals held back so that
  // the current cell following the mouse calls no editor.
  std::optional<QPoint> pressedCell_;  // (row, column)
  std::unique_ptr<QSignalBlocker> dragging_;
};
