#pragma once
// The sheet preview: the page of the grade sheet on a scrolled surface, with
// its printer, fonts and margins (the print set-up), the sheet printer laid
// out over the open book, the page shown and the zoom. The window asks it to
// show a sheet and forwards the navigation commands; it tells the window
// when what the status bar and the commands depend on changed (stateChanged,
// State()). Modal questions (which page) stay the window's: the preview only
// says what there is to choose from and goes where it is told.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "printing/GradeSheetPrinter.h"
#include "printing/PreviewRules.h"
#include "printing/PrintSettings.h"

class GradeBook;
class PageWidget;
class QPainter;
class QPrinter;
class QScrollArea;
class QWidget;

namespace preview {

class SheetPreview : public QObject {
  Q_OBJECT

 public:
  // Builds the scrolled page surface inside `viewParent`; `book` is read
  // whenever a sheet is laid out or drawn.
  SheetPreview(const GradeBook& book, QWidget* viewParent);
  ~SheetPreview() override;

  // The resolutions of the default printer and the screen, the print
  // settings kept in `appDir` / `userDir`, the zoom limits and the empty
  // page. Asking the print system can take a while: done once, on demand.
  void SetUp(const std::string& appDir, const std::string& userDir);

  // Lays the sheet out over the book as it is now, the sheet printer made
  // the first time, and shows its first page.
  void LayOut();
  // The sheet of `kind`, laid out as LayOut does.
  void ShowSheet(SheetKind kind);
  // No sheet any more (the book is closed): the sheet printer and its lists go.
  void DropSheet();
  // The printer, fonts or margins changed: measure, lay out and draw again.
  void PageSetupChanged();
  void RepaintPage();
  // Draws the margin outline and the page shown, as the page surface does.
  void paintPage(QPainter& painter);

  void previousPage();
  void nextPage();
  void firstPage();
  void lastPage();
  void GoToPage(int page);  // a page of the sheet; others are ignored
  void zoomIn();
  void zoomOut();
  void SetZoom(double zoom);  // within no limits: the caller's own factor
  void scrollToTop();
  void scrollToBottom();
  void scrollToLeft();
  void scrollToRight();
  void scrollToTopLeft();
  void scrollToBottomRight();

  // What the status bar and the commands show.
  PreviewState State() const;
  // The labels of the pages of the sheet shown, for choosing one (GBK).
  std::vector<std::string> PageLabels() const;

  PrintSetup& Setup() { return setup_; }
  const PrintSetup& Setup() const { return setup_; }
  QPrinter* Printer() const { return printer_.get(); }
  GradeSheetPrinter* SheetPrinter() const { return sheetPrinter_.get(); }
  const TPageList& PageList() const { return pageList_; }
  const TRowList& RowList() const { return rowList_; }
  SheetKind Kind() const { return kind_; }
  void SetKind(SheetKind kind) { kind_ = kind; }
  bool Showing() const { return sheetPrinter_ != nullptr; }
  int Page() const { return page_; }
  int PageCount() const { return sheetPrinter_ ? sheetPrinter_->FPageCount : 0; }
  double Zoom() const { return zoom_; }
  double ZoomMin() const { return zoomMin_; }
  double ZoomMax() const { return zoomMax_; }
  QScrollArea* pageArea() const { return pageArea_; }
  PageWidget* pageWidget() const { return pageWidget_; }

 signals:
  // The sheet, its page count, the page or the zoom changed.
  void stateChanged();

 private:
  void LayoutSheet();
  void MeasurePage();
  void SizePageView();  // the page surface as big as the page at the zoom
  void ShowPage(int page);  // draws `page` and tells the state

  const GradeBook& book_;
  PrintSetup setup_;  // BodyFont, TitleFont, PageMetrics
  TPageList pageList_;
  TRowList rowList_;
  SheetKind kind_ = SheetKind::WholeCourse;
  std::unique_ptr<QPrinter> printer_;  // the current printer
  std::unique_ptr<GradeSheetPrinter> sheetPrinter_;
  int page_ = 0;
  double zoom_ = 1.0;
  double zoomMin_ = 1.0;
  double zoomMax_ = 1.0;
  QScrollArea* pageArea_ = nullptr;
  PageWidget* pageWidget_ = nullptr;
};

}  // namespace preview
