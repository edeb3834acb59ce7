// What the window does with the check of grades: the recompute the check
// bar offers, the findings of the whole file listed before a save or a
// print, and going to a finding. The marks themselves are the editing
// view's (app/GradeMarks); the rules are the core's (grading/GradeCheck,
// gradefile/BookCheck). Nothing is changed without the teacher's command.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <algorithm>

#include "app/CheckBar.h"
#include "app/EditingGrids.h"
#include "app/GradeMarks.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/BookCheck.h"
#include "gradefile/Record.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

void MainWindow::recomputeTotals() {
  const int course = courseList()->currentRow();
  if (course < 1 || course > static_cast<int>(Book.CourseKeys.size())) return;
  leaveGradeEditor();
  const std::string key = Book.CourseKeys[static_cast<std::size_t>(course - 1)].substr(0, 5);
  const std::vector<RecordChange> changes = RecomputeTotals(Book, key);
  if (changes.empty()) return;
  EditStep step;
  step.Add(changes);
  PushEditStep(std::move(step));
  for (const RecordChange& change : changes) {
    if (const int row = editingView_->marks().GridRowOf(change.LineIndex)) {
      rows()[static_cast<std::size_t>(row - 1)].Grade(GradeField::Total) =
          std::string(Field(change.After, record::Total));
      editingView_->ShowRow(row);
    }
  }
}

bool MainWindow::ConfirmFindings(FindingsPurpose purpose) {
  const std::vector<GradeFinding> findings = CheckBook(Book);
  if (findings.empty()) return true;
  const FindingsChoice choice = Dialogs().ReviewFindings(this, purpose, FindingRows(Book, findings));
  switch (choice.What) {
    case FindingsChoice::GoOn:
      return true;
    case FindingsChoice::GoTo:
      if (choice.Row >= 0 && choice.Row < static_cast<int>(findings.size()))
        GoToFinding(findings[static_cast<std::size_t>(choice.Row)]);
      return false;
    case FindingsChoice::Back:
      break;
  }
  return false;
}

void MainWindow::GoToFinding(const GradeFinding& finding) {
  if (views_ != nullptr && views_->currentWidget() != editingView_) showEditing();
  const auto key = std::find_if(Book.CourseKeys.begin(), Book.CourseKeys.end(), [&](const std::string& k) {
    return std::string_view(k).substr(0, 5) == finding.CourseKey;
  });
  if (key == Book.CourseKeys.end()) return;
  const int course = static_cast<int>(key - Book.CourseKeys.begin()) + 1;
  if (courseList()->currentRow() != course) courseList()->ChooseRow(course);  // shows the course
  if (finding.Column == FindingColumn::Share) {
    shareEdit()->setFocus(Qt::OtherFocusReason);
    shareEdit()->selectAll();
    return;
  }
  const int row = editingView_->marks().GridRowOf(finding.LineIndex);
  if (row == 0) return;
  // A repeated number is put right in the grades of its row, if at all.
  const int col = GridColumn(FieldOf(finding.Column));
  studentGrid()->setCurrentCell(row, col);
  if (!gradeEditor()->isVisible() || gradeCells().Row() != row || gradeCells().Column() != col) {  // it was the current cell already
    selectGradeCell(row, col);
  }
}
