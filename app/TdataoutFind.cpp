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
#include "app/Tdataout.h"
#include "app/WindowTexts.h"
#include "gradefile/FindStudent.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

// Escape in the find field closes the bar; the field itself would ignore it.
class FindField : public QLineEdit {
 public:
  FindField(Tdataout* window, QWidget* parent) : QLineEdit(parent), window_(window) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      window_->CloseFind();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  Tdataout* window_;
};

}  // namespace

void Tdataout::F4Click() {
  if (Views->currentWidget() != Panel1) return;
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
  StatusBar1->show();
  StatusBar1->showMessage(WindowTexts::FindHint());
  FindEdit->setFocus(Qt::ShortcutFocusReason);
  FindEdit->selectAll();
}

void Tdataout::FindNext() {
  if (FindEdit == nullptr) return;
  const std::vector<StudentEntry> students = StudentsInListOrder(Book);
  // From the student found last, or from the one the grid is at, or from
  // the top of the course shown.
  const int course = StringGrid2->currentRow();
  const int row = StringGrid1->currentRow();
  long after = -1;
  for (std::size_t i = 0; i < students.size(); ++i) {
    if (students[i].CourseRow < course || (students[i].CourseRow == course && students[i].GridRow <= row))
      after = static_cast<long>(i);
  }
  const std::optional<std::size_t> found =
      FindNextStudent(students, FindEdit->text().toStdString(), after);
  if (!found) {
    StatusBar1->showMessage(WindowTexts::NotFound());
    return;
  }
  const StudentEntry& student = students[*found];
  ComboBox1Exit();
  if (StringGrid2->currentRow() != student.CourseRow) StringGrid2->setCurrentCell(student.CourseRow, 0);
  {
    // The row is marked, the editor stays away: the find field keeps the
    // keyboard for the next Enter.
    const QSignalBlocker block(StringGrid1);
    StringGrid1->setCurrentCell(student.GridRow, kFirstGradeColumn);
    StringGrid1->setRangeSelected({student.GridRow, kFirstGradeColumn, student.GridRow, kLastGradeColumn}, true);
    EditRow = EditCol = -1;
  }
  if (QTableWidgetItem* item = StringGrid1->item(student.GridRow, kFirstGradeColumn)) {
    StringGrid1->scrollToItem(item);
    KeepRowClearOfHeading(StringGrid1, student.GridRow);
  }
  findCourse_ = student.CourseRow;
  findRow_ = student.GridRow;
  const std::size_t index = static_cast<std::size_t>(student.CourseRow - 1);
  const std::string courseName =
      index < Book.CourseRows.size() ? std::string(TrimmedBlanks(Book.CourseRows[index])) : std::string();
  StatusBar1->showMessage(GbkToQString(std::string(TrimmedBlanks(student.Number)) + "  " +
                                       std::string(TrimmedBlanks(student.Name)) + "  " + courseName));
}

void Tdataout::CloseFind() {
  if (FindBar == nullptr || !FindBar->isVisible()) return;
  FindBar->hide();
  StatusBar1->clearMessage();
  if (Views->currentWidget() != Panel1) return;
  StatusBar1->hide();
  // Back to the grades: the editor at the student found, else the course list.
  if (findCourse_ >= 1 && findCourse_ == StringGrid2->currentRow())
    EnterGridAt(findRow_);
  else
    StringGrid2->setFocus(Qt::OtherFocusReason);
}
