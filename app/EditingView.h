#pragma once
// The editing view: on the left (courseColumn) the file's name ("成绩文件:
// <path>"), the course list and the share field; on the right the check bar
// over the student grid, whose grade cells take the grade editor, with the
// check's marks on its cells. It holds the bytes of the rows of the course
// shown (rows()), which the grid's model shows; what the teacher does in it
// the window forwards to the document.
#include <QFrame>
#include <memory>
#include <vector>

#include "gradefile/GradeBook.h"

class CheckBar;
class CourseList;
class GradeEditor;
class GradeMarks;
class QLabel;
class QLineEdit;
class StudentGrid;

class EditingView : public QFrame {
  Q_OBJECT

 public:
  // `book`: the course list shows its CourseTitles.
  EditingView(const GradeBook& book, QWidget* parent);
  ~EditingView() override;

  QLabel* fileLabel() const { return fileLabel_; }
  CourseList* courseList() const { return courseList_; }
  QLabel* shareLabel() const { return shareLabel_; }
  QLineEdit* shareEdit() const { return shareEdit_; }
  StudentGrid* studentGrid() const { return studentGrid_; }
  CheckBar* checkBar() const { return checkBar_; }  // over the grid: the totals that disagree
  GradeEditor& editor() const { return *editor_; }
  GradeMarks& marks() const { return *marks_; }
  // The student grid's bytes: rows()[r - 1] holds the GBK cells of grid row
  // r (row 0 is the heading).
  std::vector<StudentRow>& rows() { return rows_; }
  const std::vector<StudentRow>& rows() const { return rows_; }

 private:
  std::vector<StudentRow> rows_;
  QFrame* courseColumn_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  CourseList* courseList_ = nullptr;
  QLabel* shareLabel_ = nullptr;
  QLineEdit* shareEdit_ = nullptr;
  StudentGrid* studentGrid_ = nullptr;
  CheckBar* checkBar_ = nullptr;
  GradeEditor* editor_ = nullptr;
  std::unique_ptr<GradeMarks> marks_;
};
