// Undo and redo in the window. The history (gradefile/EditHistory) keeps the
// bytes; the window decides where a step begins and ends: a cell edit from
// the editor's arrival at its cell to its leaving, a share edit from the
// field's focus in to its focus out, and every command that hands in a whole
// step (PushEditStep). After an undo or redo the window shows the course and
// the cell the step changed, so that nothing changes out of sight.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QStackedWidget>

#include "app/EditingGrids.h"
#include "app/MainWindow.h"

void MainWindow::FinishEditSteps() {
  History.Push(gradeCells().TakeStep());
  History.Push(std::exchange(shareStep_, {}));
  FollowEdits();
}

void MainWindow::PushEditStep(EditStep step) {
  FinishEditSteps();
  History.Push(std::move(step));
  FollowEdits();
}

void MainWindow::undo() {
  FinishEditSteps();
  if (const EditStep* step = History.Undo(Book)) ShowEditStep(*step);
  FollowEdits();
}

void MainWindow::redo() {
  FinishEditSteps();
  if (const EditStep* step = History.Redo(Book)) ShowEditStep(*step);
  FollowEdits();
}

void MainWindow::FollowEdits() {
  // An edit in progress is as good as a step: Ctrl+Z ends it and takes it
  // back, and it will forget what could be redone.
  const bool editing = gradeCells().Typed() || !shareStep_.Empty();
  const bool shown = views_ == nullptr || views_->currentWidget() == editingView_;
  commands_.undo->setEnabled(shown && (editing || History.CanUndo()));
  commands_.redo->setEnabled(shown && !editing && History.CanRedo());
  // Every change of the book passes here; back at the state last saved or
  // opened, there is nothing to save.
  document_.Changed();
}

void MainWindow::ShowEditStep(const EditStep& step) {
  const StepPlace place = PlaceOf(step);
  int courseRow = courseList()->currentRow();
  for (std::size_t i = 0; i < Book.CourseKeys.size(); ++i) {
    if (std::string_view(Book.CourseKeys[i]).substr(0, 5) == place.Key) {
      courseRow = static_cast<int>(i) + 1;
      break;
    }
  }
  if (courseRow >= 1 && courseRow <= static_cast<int>(Book.CourseKeys.size())) {
    if (courseList()->currentRow() != courseRow)
      courseList()->ChooseRow(courseRow);  // shows the course
    else
      ShowCourse(Book.CourseKeys[static_cast<std::size_t>(courseRow) - 1]);
  }
  if (place.Number.empty()) return;
  for (std::size_t r = 0; r < rows().size(); ++r) {
    if (std::string_view(rows()[r].Cells[1]).substr(0, 10) != place.Number) continue;
    // The total is not typed: the editor goes to the grade that made it.
    const GradeField field = place.Field.value_or(GradeField::Coursework);
    studentGrid()->setCurrentCell(GridRow(static_cast<int>(r)),
                                GridColumn(field == GradeField::Total ? GradeField::Coursework : field));
    return;
  }
}

bool MainWindow::IsUndoKey(QEvent* event) const {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const QKeySequence pressed(key->keyCombination());
  for (const QAction* action : {commands_.undo, commands_.redo}) {
    for (const QKeySequence& shortcut : action->shortcuts())
      if (shortcut.matches(pressed) == QKeySequence::ExactMatch) return true;
  }
  return false;
}
