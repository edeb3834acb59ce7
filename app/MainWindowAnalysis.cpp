// The main window's hook to the course analysis (app/AnalysisWindow.h).
#include <algorithm>

#include "app/AnalysisWindow.h"
#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "printing/CourseAnalysis.h"

void MainWindow::showAnalysis() {
  if (FileName.empty() || Book.CourseKeys.empty()) return;
  // What is being typed counts: the analysis reads the records.
  leaveGradeEditor();
  FinishEditSteps();
  EnsurePreview();
  if (sheetPreview_->Printer() == nullptr) return;
  std::vector<CourseAnalysis> courses = AnalyseCourses(Book);
  const int row = courseList()->currentRow();
  int first = 0;
  if (row >= 1 && row <= static_cast<int>(Book.CourseKeys.size())) {
    const std::string& key = Book.CourseKeys[static_cast<std::size_t>(row) - 1];
    const auto shown = std::find_if(courses.begin(), courses.end(),
                                    [&](const CourseAnalysis& c) { return c.Whole.CourseKey == key; });
    first = static_cast<int>(shown - courses.begin());
  }
  AnalysisWindow window(this, std::move(courses), first, sheetPreview_->Setup().BodyFont, *sheetPreview_->Printer(), Dialogs(), FileName);
  window.exec();
}
