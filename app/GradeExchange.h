#pragma once
// Grades in from a spreadsheet and out to one, for the open document: the
// import of one course's scores from a CSV file and the export of the shown
// course or all courses as a workbook or CSV. The window tells it which
// course is shown and takes back what an import changed.
#include <QObject>
#include <functional>
#include <string>

#include "gradefile/EditHistory.h"

class DialogSeam;
class Document;
class QWidget;

class GradeExchange : public QObject {
  Q_OBJECT

 public:
  struct WindowHooks {
    std::function<int()> ShownCourse;  // the course list's row (from 1); -1 none
    // The grade being typed ends as a step of its own, and the editing view
    // is shown, where an import's changes are seen and undone.
    std::function<void()> LeaveEditing;
    std::function<void()> LeaveEditor;  // the grade being typed belongs to the export
    // An import's changes: one step to undo, and the course shown again.
    std::function<void(EditStep step, const std::string& courseKey)> Imported;
  };
  GradeExchange(QWidget& window, Document& document, DialogSeam& dialogs, WindowHooks hooks);

  void importScores();  // scores of the shown course from a CSV file
  void exportGrades();  // the shown course or all courses

 private:
  // The shown course's index in the book, or -1 when there is no file or course.
  int ShownCourseIndex() const;

  QWidget& window_;
  Document& document_;
  DialogSeam& dialogs_;
  WindowHooks hooks_;
};
