#pragma once
// Copy and paste of grade cells, as spreadsheets exchange them (tabs between
// cells, line ends between rows), and the selected grades emptied. Each cell
// is written through as if it had been typed; what a paste or a clearing
// writes is one step to undo, which the window keeps.
#include <QObject>
#include <functional>
#include <vector>

#include "gradefile/Clipboard.h"
#include "gradefile/EditHistory.h"

class DialogSeam;
class EditingView;
class GradeBook;
class QAction;
class QEvent;
class QWidget;

class GridClipboard : public QObject {
  Q_OBJECT

 public:
  struct WindowHooks {
    std::function<bool()> Editing;        // the editing view is shown
    std::function<void()> LeaveEditor;    // the cell edit in progress becomes a step of its own
    std::function<void(EditStep)> Keep;   // a finished write, one step to undo
  };
  GridClipboard(QWidget& window, GradeBook& book, EditingView& view, DialogSeam& dialogs, WindowHooks hooks);

  void copyCells();   // the selected grade cells to the clipboard
  void pasteCells();  // a block of cells from the clipboard into the grade cells
  void ClearSelectedCells();  // Delete on the grid: the selected grades emptied

  // `event` is a key press (or its shortcut override) of `action`'s shortcut.
  static bool IsKeyOf(QEvent* event, const QAction* action);

 private:
  // Writes each cell through as typed, in order, as one step to undo, and
  // leaves the cells selected. Returns the cells not written because they
  // (or the totals they lead to) do not fit their fields.
  std::vector<PasteCell> WriteCells(const std::vector<PasteCell>& cells);

  QWidget& window_;
  GradeBook& book_;
  EditingView& view_;
  DialogSeam& dialogs_;
  WindowHooks hooks_;
};
