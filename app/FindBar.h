#pragma once
// Finding a student by number or name: a bar above the editing view that
// keeps the focus, so Enter after Enter walks through the matches of every
// course (gradefile/FindStudent decides what matches and what comes next).
//
// The bar knows the book and where the editing view stands, and tells the
// window what to show: the student found (course list row, grid row), what
// the status bar says ("找不到" and the like), and, when it closes, the
// student it found last, for the editor to come back to.
#include <QToolBar>
#include <functional>

class GradeBook;
class QLineEdit;

class FindBar : public QToolBar {
  Q_OBJECT

 public:
  // A course list row and a grid row of the editing view; 0: none.
  struct Place {
    int CourseRow = 0;
    int GridRow = 0;
  };
  // `here` says where the editing view stands: the search goes on after it.
  FindBar(const GradeBook& book, std::function<Place()> here, QWidget* parent);

  QLineEdit* field() const { return field_; }
  // Shows the bar with the keyboard in the field, its text selected.
  void openBar();
  // The next student the field names, in any course.
  void findNext();
  // Hides the bar, if shown, and says so through closed().
  void closeBar();

 signals:
  void message(const QString& text);  // for the status bar
  void studentFound(int courseRow, int gridRow);
  // The bar was hidden; the student found last, or 0 and 0.
  void closed(int courseRow, int gridRow);

 private:
  const GradeBook& book_;
  std::function<Place()> here_;
  QLineEdit* field_ = nullptr;
  Place found_;  // the student found last
};
