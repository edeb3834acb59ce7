#pragma once
// The editing view: on the left (courseColumn) the file's name ("成绩文件:
// <path>"), the course list and the share field; on the right the check bar
// over the student grid, whose grade cells take the grade editor, with the
// check's marks on its cells. It holds the bytes of the rows of the course
// shown (rows()), which the grid's model shows; what the teacher does in it
// the window forwards to the document.
#include <QFrame>
#include <QString>
#include <memory>
#include <string>
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
  // The share field's text as GBK (always GBK-valid): what the totals are
  // weighed and checked with.
  const std::string& share() const { return share_; }
  void SetShare(std::string share) { share_ = std::move(share); }

  // Puts rows()[row - 1] on the grid with its marks brought up to date.
  void ShowRow(int row);
  // The check's marks of grid row `row` against the share: colours, tool
  // tips, the bar's count, and the editor's if it is over the row.
  void MarkRow(int row);
  // The editor covers its cell: it wears the cell's mark, so that a typo
  // shows while it is typed.
  void MarkEditor();
  // A share no total can be weighed with is marked on its field.
  void MarkShare();

  // Typed text refused (a character the grade file cannot hold, a grade
  // past its field, a share that is no number from 0 to 100): the field
  // `where` (the editor or the share field) gets `restored` back, the
  // cursor where it was, and `why` as its tool tip.
  void Refuse(QWidget* where, const QString& restored, const QString& why);
  const QString& InputNotice() const { return inputNotice_; }  // the last refusal; empty: none

 private:
  void ShowCounts();  // the check bar's

  std::vector<StudentRow> rows_;
  std::string share_;
  QString inputNotice_;
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
