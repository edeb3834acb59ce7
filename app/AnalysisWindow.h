#pragma once
// The window "课程成绩分析": the analysis page of every course of the file,
// one a page, opening at the course shown, with the preview's page and zoom
// commands, printing (or printing to a PDF file, like the sheet) and an
// export of the pages to a PDF file. The figures are taken when the window
// opens; it is modal, so the book does not change under it.
#include <QDialog>
#include <string>
#include <vector>

#include "printing/AnalysisPage.h"
#include "printing/CourseAnalysis.h"

class DialogSeam;
class QAction;
class QLabel;
class QPrinter;
class QScrollArea;

class AnalysisWindow : public QDialog {
 public:
  // `startPage` from 0; `gradeFile` (bytes) is never written over by the export.
  AnalysisWindow(QWidget* parent, std::vector<CourseAnalysis> courses, int startPage, const FontSpec& font,
                 QPrinter& printer, DialogSeam& dialogs, std::string gradeFile);

  int PageCount() const { return static_cast<int>(courses_.size()); }
  int CurrentPage() const { return current_; }  // from 0
  double Zoom() const { return zoom_; }
  QWidget* PageView() const { return page_; }
  QString StatusText() const;

  void ShowPage(int page);
  void ZoomIn();
  void ZoomOut();
  void PrintPages();
  void ExportPdf();

  // The commands, for the keys and the tests.
  QAction* previousPage = nullptr;
  QAction* nextPage = nullptr;
  QAction* firstPage = nullptr;
  QAction* lastPage = nullptr;
  QAction* zoomIn = nullptr;
  QAction* zoomOut = nullptr;
  QAction* printPages = nullptr;
  QAction* exportPdf = nullptr;

 private:
  void Refresh();
  void PaintPage(QPainter& painter) const;
  QAction* AddCommand(class QToolBar* bar, const QString& caption, const QKeySequence& key, void (AnalysisWindow::*run)());

  std::vector<CourseAnalysis> courses_;
  FontSpec font_;
  QPrinter& printer_;
  DialogSeam& dialogs_;
  std::string gradeFile_;
  int current_ = 0;
  double zoom_ = 1.0;
  double zoomMin_ = 1.0, zoomMax_ = 1.0;
  QWidget* page_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* status_ = nullptr;
};
