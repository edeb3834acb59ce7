// Finding a student by number or name: a bar above the editing view that
// keeps the focus, so Enter after Enter walks through the matches of every
// course (gradefile/FindStudent decides what matches and what comes next).
// The status bar shows what was found, or "找不到".
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/FrozenHeading.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/FindStudent.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

// Escape in the find field closes the bar; the field itself would ignore it.
class FindField : public QLineEdit {
 public:
  FindField(MainWindow* window, QWidget* parent) : QLineEdit(parent), window_(window) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      window_->CloseFind();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  MainWindow* window_;
};

}  // namespace

void MainWindow::showFindBar() {
  if (views->currentWidget() != editingView) return;
  if (FindBar == nullptr) {
    FindBar = new QToolBar(this);
    FindBar->setObjectName(QStringLiteral("FindBar"));
    FindBar->setMovable(false);
    FindBar->setFloatable(false);
    FindBar->addWidget(new QLabel(WindowTexts::FindLabel(), FindBar));
    FindEdit = new FindField(this, FindBar);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setAccessibleName(WindowTexts::FindFieldName());
    FindEdit->setPlaceholderText(WindowTexts::FindHint());
    FindEdit->setFixedWidth(FindEdit->fontMetrics().horizontalAdvance(WindowTexts::FindHint()) + 24);
    FindBar->addWidget(FindEdit);
    QAction* next = FindBar->addAction(WindowTexts::FindNextButton());
    QAction* close = FindBar->addAction(WindowTexts::FindCloseButton());
    connect(FindEdit, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(next, &QAction::triggered, this, [this] { FindNext(); });
    connect(close, &QAction::triggered, this, [this] { CloseFind(); });
    addToolBar(Qt::TopToolBarArea, FindBar);
  }
  FindBar->show();
  statusLine->show();
  statusLine->showMessage(WindowTexts::FindHint());
  FindEdit->setFocus(Qt::ShortcutFocusReason);
  FindEdit->selectAll();
}

void MainWindow::FindNext() {
  if (FindEdit == nullptr) return;
  const std::vector<StudentEntry> students = StudentsInListOrder(Book);
  // From the student found last, or from the one the grid is at, or from
  // the top of the course shown.
  const int course = courseList->currentRow();
  const int row = studentGrid->currentRow();
  long after = -1;
  for (std::size_t i = 0; i < students.size(); ++i) {
    const int listRow = ListRowOfCourse(students[i].Course);
    if (listRow < course || (listRow == course && GridRow(students[i].Student) <= row)) after = static_cast<long>(i);
  }
  const std::optional<std::size_t> found =
      FindNextStudent(students, FindEdit->text().toStdString(), after);
  if (!found) {
    statusLine->showMessage(WindowTexts::NotFound());
    return;
  }
  const StudentEntry& student = students[*found];
  const int listRow = ListRowOfCourse(student.Course);
  const int gridRow = GridRow(student.Student);
  leaveGradeEditor();
  if (courseList->currentRow() != listRow) courseList->setCurrentCell(listRow, 0);
  {
    // The row is marked, the editor stays away: the find field keeps the
    // keyboard for the next Enter.
    const QSignalBlocker block(studentGrid);
    studentGrid->setCurrentCell(gridRow, kFirstGradeColumn);
    studentGrid->setRangeSelected({gridRow, kFirstGradeColumn, gridRow, kLastGradeColumn}, true);
    EditRow = EditCol = -1;
  }
  if (QTableWidgetItem* item = studentGrid->item(gridRow, kFirstGradeColumn)) {
    studentGrid->scrollToItem(item);
    KeepRowClearOfHeading(studentGrid, gridRow);
  }
  findCourse_ = listRow;
  findRow_ = gridRow;
  const std::string courseName = student.Course < Book.CourseRows.size()
                                     ? std::string(TrimmedBlanks(Book.CourseRows[student.Course]))
                                     : std::string();
  statusLine->showMessage(GbkToQString(std::string(TrimmedBlanks(student.Number)) + "  " +
                                       std::string(TrimmedBlanks(student.Name)) + "  " + courseName));
}

void MainWindow::CloseFind() {
  if (FindBar == nullptr || !FindBar->isVisible()) return;
  FindBar->hide();
  statusLine->clearMessage();
  if (views->currentWidget() != editingView) return;
  statusLine->hide();
  // Back to the grades: the editor at the student found, else the course list.
  if (findCourse_ >= 1 && findCourse_ == courseList->currentRow())
    EnterGridAt(findRow_);
  else
    courseList->setFocus(Qt::OtherFocusReason);
}
