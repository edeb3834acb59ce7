#include "app/FindBar.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>
#include <vector>

#include "app/GridPlaces.h"
#include "app/WindowTexts.h"
#include "gradefile/FindStudent.h"
#include "gradefile/GradeBook.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

// Escape in the find field closes the bar; the field itself would ignore it.
class FindField : public QLineEdit {
 public:
  FindField(FindBar* bar) : QLineEdit(bar), bar_(bar) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      bar_->closeBar();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  FindBar* bar_;
};

}  // namespace

FindBar::FindBar(const GradeBook& book, std::function<Place()> here, QWidget* parent)
    : QToolBar(parent), book_(book), here_(std::move(here)) {
  setObjectName(QStringLiteral("FindBar"));
  setMovable(false);
  setFloatable(false);
  addWidget(new QLabel(WindowTexts::FindLabel(), this));
  field_ = new FindField(this);
  field_->setObjectName(QStringLiteral("FindEdit"));
  field_->setAccessibleName(WindowTexts::FindFieldName());
  field_->setPlaceholderText(WindowTexts::FindHint());
  field_->setFixedWidth(field_->fontMetrics().horizontalAdvance(WindowTexts::FindHint()) + 24);
  addWidget(field_);
  QAction* next = addAction(WindowTexts::FindNextButton());
  QAction* close = addAction(WindowTexts::FindCloseButton());
  connect(field_, &QLineEdit::returnPressed, this, [this] { findNext(); });
  connect(next, &QAction::triggered, this, [this] { findNext(); });
  connect(close, &QAction::triggered, this, [this] { closeBar(); });
}

void FindBar::openBar() {
  show();
  emit message(WindowTexts::FindHint());
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

void FindBar::findNext() {
  const std::vector<StudentEntry> students = StudentsInListOrder(book_);
  // From the student found last, or from the one the grid is at, or from
  // the top of the course shown.
  const Place here = here_();
  long after = -1;
  for (std::size_t i = 0; i < students.size(); ++i) {
    const int listRow = ListRowOfCourse(students[i].Course);
    if (listRow < here.CourseRow || (listRow == here.CourseRow && GridRow(students[i].Student) <= here.GridRow))
      after = static_cast<long>(i);
  }
  const std::optional<std::size_t> found = FindNextStudent(students, field_->text().toStdString(), after);
  if (!found) {
    emit message(WindowTexts::NotFound());
    return;
  }
  const StudentEntry& student = students[*found];
  found_ = {ListRowOfCourse(student.Course), GridRow(student.Student)};
  emit studentFound(found_.CourseRow, found_.GridRow);
  const std::string courseName = student.Course < book_.CourseTitles.size()
                                     ? std::string(TrimmedBlanks(book_.CourseTitles[student.Course]))
                                     : std::string();
  emit message(GbkToQString(std::string(TrimmedBlanks(student.Number)) + "  " +
                            std::string(TrimmedBlanks(student.Name)) + "  " + courseName));
}

void FindBar::closeBar() {
  if (!isVisible()) return;
  hide();
  emit closed(found_.CourseRow, found_.GridRow);
}
