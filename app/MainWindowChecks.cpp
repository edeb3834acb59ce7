// What the window shows of the check of grades: every finding of the course
// shown is marked in its cell (a colour per kind of finding and a tool tip
// that says why), a bar over the grid counts the totals that disagree with
// the share and offers to recompute them, and a save or a print first lists
// the findings of the whole file. Nothing is changed without the teacher's
// command; the rules are the core's (grading/GradeCheck, gradefile/BookCheck).
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <algorithm>

#include "app/CheckBar.h"
#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/BookCheck.h"
#include "gradefile/Record.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace {

// A grade the file cannot mean as typed: unrecognised or above 100.
const QColor kGradeFindingFace(255, 200, 140);
// A total that disagrees with the share or counts a word as 0.
const QColor kTotalFindingFace(255, 240, 150);
// A student number that stands twice in the course.
const QColor kRepeatedFace(240, 180, 200);

bool IsGradeKind(FindingKind kind) {
  return kind == FindingKind::Unrecognised || kind == FindingKind::OutOfRange;
}

// The column a finding is marked in: its grade's, or the student number's
// for a repeated number.
int MarkedColumn(FindingColumn column) {
  if (column == FindingColumn::None || column == FindingColumn::Share) return 1;
  return GridColumn(FieldOf(column));
}

}  // namespace

int MainWindow::GridRowOf(std::size_t lineIndex) const {
  // The grid shows the course's records in record order.
  const auto at = std::lower_bound(GridRows.begin(), GridRows.end(), lineIndex,
                                   [](const StudentRow& r, std::size_t line) { return r.LineIndex < line; });
  return at != GridRows.end() && at->LineIndex == lineIndex ? static_cast<int>(at - GridRows.begin()) + 1 : 0;
}

void MainWindow::FindRepeatedNumbers(const std::string& key) {
  repeatedNumber_.assign(GridRows.size(), std::string());
  totalState_.assign(GridRows.size(), 0);
  mismatches_ = typedMismatches_ = 0;
  for (const GradeFinding& f : CheckCourse(Book, std::string_view(key).substr(0, 5))) {
    if (f.Kind != FindingKind::DuplicateStudent) continue;
    if (const int row = GridRowOf(f.LineIndex)) repeatedNumber_[static_cast<std::size_t>(row - 1)] = f.Explanation;
  }
}

void MainWindow::MarkRow(int row) {
  if (row < 1 || row > static_cast<int>(GridRows.size())) return;
  const std::size_t index = static_cast<std::size_t>(row - 1);
  const StudentRow& data = GridRows[index];
  std::vector<GradeFinding> found;
  using enum GradeField;
  RowCheck(shareBytes_).Run(data.Grade(Coursework), data.Grade(Examination), data.Grade(Total), found);

  bool mismatch = false;
  for (int col = kFirstGradeColumn; col <= kLastGradeColumn; ++col) {
    QStringList why;
    bool gradeKind = false;
    for (const GradeFinding& f : found) {
      if (MarkedColumn(f.Column) != col) continue;
      why << QString::fromStdString(f.Explanation);
      gradeKind = gradeKind || IsGradeKind(f.Kind);
      mismatch = mismatch || f.Kind == FindingKind::TotalMismatch;
    }
    studentGrid->Students().Mark(StudentOfRow(row), col,
                                 why.isEmpty() ? QColor() : gradeKind ? kGradeFindingFace : kTotalFindingFace,
                                 why.join(QLatin1Char('\n')));
  }
  if (gradeCells_ != nullptr && row == gradeCells_->Row()) MarkEditor();
  const std::string repeated = index < repeatedNumber_.size() ? repeatedNumber_[index] : std::string();
  studentGrid->Students().Mark(StudentOfRow(row), 1, repeated.empty() ? QColor() : kRepeatedFace,
                               QString::fromStdString(repeated));

  // The bar counts rows the recompute can reach: those with a record.
  if (index >= totalState_.size()) return;
  unsigned char state = 0;
  if (mismatch && !data.IsPlaceholder()) {
    const std::string& total = data.Grade(Total);
    const bool typed = !TrimmedBlanks(total).empty() &&
                       !TotalFitsSomeShare(data.Grade(Coursework), data.Grade(Examination), total);
    state = typed ? 2 : 1;
  }
  const unsigned char was = totalState_[index];
  mismatches_ = mismatches_ - (was != 0) + (state != 0);
  typedMismatches_ = typedMismatches_ - (was == 2) + (state == 2);
  totalState_[index] = state;
  UpdateCheckBar();
}

void MainWindow::MarkEditor() {
  // The editor covers its cell: it wears the cell's mark, so that a typo
  // shows while it is typed.
  if (gradeCells_ == nullptr || !IsGradeColumn(gradeCells_->Column())) return;
  const QModelIndex cell = studentGrid->IndexOf(gradeCells_->Row(), gradeCells_->Column());
  if (!cell.isValid()) return;
  QComboBox* editor = gradeEditor();
  const QString why = cell.data(Qt::ToolTipRole).toString();
  QPalette palette = editor->palette();
  if (!why.isEmpty()) palette.setColor(QPalette::Base, cell.data(Qt::BackgroundRole).value<QColor>());
  editor->lineEdit()->setPalette(palette);
  editor->setToolTip(why);
}

void MainWindow::UpdateCheckBar() {
  if (checkBar_ != nullptr) checkBar_->showCounts(shareBytes_, mismatches_, typedMismatches_);
}

void MainWindow::MarkShare() {
  const bool bad = IsBadShare(shareBytes_);
  QPalette palette;
  if (bad) palette.setColor(QPalette::Base, kGradeFindingFace);
  shareEdit->setPalette(palette);
  shareEdit->setToolTip(bad ? QString::fromStdString(std::string(texts::kBadShare)) : QString());
  UpdateCheckBar();
}

void MainWindow::recomputeTotals() {
  const int course = courseList->currentRow();
  if (course < 1 || course > static_cast<int>(Book.CourseKeys.size())) return;
  leaveGradeEditor();
  const std::string key = Book.CourseKeys[static_cast<std::size_t>(course - 1)].substr(0, 5);
  const std::vector<RecordChange> changes = RecomputeTotals(Book, key);
  if (changes.empty()) return;
  EditStep step;
  step.Add(changes);
  PushEditStep(std::move(step));
  for (const RecordChange& change : changes) {
    if (const int row = GridRowOf(change.LineIndex)) {
      GridRows[static_cast<std::size_t>(row - 1)].Grade(GradeField::Total) =
          std::string(Field(change.After, record::Total));
      ShowGridRow(row);
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
  if (views != nullptr && views->currentWidget() != editingView) showEditing();
  const auto key = std::find_if(Book.CourseKeys.begin(), Book.CourseKeys.end(), [&](const std::string& k) {
    return std::string_view(k).substr(0, 5) == finding.CourseKey;
  });
  if (key == Book.CourseKeys.end()) return;
  const int course = static_cast<int>(key - Book.CourseKeys.begin()) + 1;
  if (courseList->currentRow() != course) courseList->ChooseRow(course);  // shows the course
  if (finding.Column == FindingColumn::Share) {
    shareEdit->setFocus(Qt::OtherFocusReason);
    shareEdit->selectAll();
    return;
  }
  const int row = GridRowOf(finding.LineIndex);
  if (row == 0) return;
  // A repeated number is put right in the grades of its row, if at all.
  const int col = GridColumn(FieldOf(finding.Column));
  studentGrid->setCurrentCell(row, col);
  if (!gradeEditor()->isVisible() || gradeCells_->Row() != row || gradeCells_->Column() != col) {  // it was the current cell already
    selectGradeCell(row, col);
  }
}
