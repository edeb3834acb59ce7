// The sheet preview. The preview's rules (zoom limits and steps, status
// texts, which commands are enabled) are in printing/PreviewRules; this part
// applies them to the page surface and its printer.
#include "preview/SheetPreview.h"

#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>

#include "gradefile/GradeBook.h"
#include "grading/Numbers.h"
#include "preview/DefaultPrinter.h"
#include "preview/PageWidget.h"
#include "preview/PrinterLaidCanvas.h"
#include "printing/PageLabels.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"

namespace preview {

namespace {
// The page sits 20 pixels in from the scrolled area's edges; the area is the
// page plus that border on every side, so the scroll ranges follow the page.
constexpr int kPageInset = 20;

void ScrollTo(QScrollBar* bar, bool toEnd) {
  if (bar == nullptr || bar->maximum() - bar->minimum() <= 0) return;
  bar->setValue(toEnd ? bar->maximum() : 0);
}
}  // namespace

SheetPreview::SheetPreview(const GradeBook& book, QWidget* viewParent) : QObject(viewParent), book_(book) {
  pageArea_ = new QScrollArea(viewParent);
  pageArea_->setObjectName(QStringLiteral("pageArea"));
  pageArea_->setWidgetResizable(false);
  auto* pageHost = new QWidget;
  pageHost->setObjectName(QStringLiteral("pageHost"));
  QPalette desktop = pageHost->palette();
  desktop.setColor(QPalette::Window, QColor(58, 110, 165));  // the desktop colour
  pageHost->setPalette(desktop);
  pageHost->setAutoFillBackground(true);
  pageArea_->setPalette(desktop);
  pageWidget_ = new PageWidget(pageHost);
  pageWidget_->SetPagePainter([this](QPainter& painter) { paintPage(painter); });
  pageWidget_->move(kPageInset, kPageInset);
  pageArea_->setWidget(pageHost);
}

SheetPreview::~SheetPreview() = default;

void SheetPreview::SetUp(const std::string& appDir, const std::string& userDir) {
  printer_ = DefaultPrinter();
  setup_.Metrics[DevicePrinter].Dpi = printer_->resolution();
  setup_.Metrics[DeviceScreen].Dpi = pageWidget_->logicalDpiY();
  LoadPrintSettings(appDir, userDir, setup_);
  const ZoomLimits limits = ComputeZoomLimits(setup_.BodyFont.Size);
  zoomMin_ = limits.Min;
  zoomMax_ = limits.Max;
  zoom_ = 1.0;
  MeasurePage();
  SizePageView();
  emit stateChanged();
}

void SheetPreview::LayOut() {
  if (!sheetPrinter_) {
    sheetPrinter_ = std::make_unique<GradeSheetPrinter>(book_, setup_, kind_, pageList_, rowList_);
    MeasurePage();
  }
  LayoutSheet();
}

void SheetPreview::ShowSheet(SheetKind kind) {
  kind_ = kind;
  LayOut();
}

void SheetPreview::DropSheet() {
  if (sheetPrinter_) {
    sheetPrinter_->ClearPageList();
    sheetPrinter_->ClearRowList();
  }
  pageList_.clear();
  rowList_.clear();
  sheetPrinter_.reset();
  page_ = 0;
  emit stateChanged();
}

void SheetPreview::LayoutSheet() {
  if (!sheetPrinter_) return;
  sheetPrinter_->MakePages();
  page_ = sheetPrinter_->FPageCount > 0 ? 1 : 0;
  SizePageView();
  RepaintPage();
  emit stateChanged();
}

void SheetPreview::MeasurePage() {
  if (!printer_) return;
  DeviceMeasurement m;
  // The printable area of the current printer and paper, in printer pixels.
  const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
  m.PrinterPageWidth = page.width();
  m.PrinterPageHeight = page.height();
  const TextExtent onPrinter = MeasureDigits(*printer_, setup_.BodyFont, setup_.Metrics[DevicePrinter].Dpi);
  m.PrinterTextWidth = onPrinter.Width;
  m.PrinterTextHeight = onPrinter.Height;
  const TextExtent onScreen = MeasureDigits(*pageWidget_, setup_.BodyFont, setup_.Metrics[DeviceScreen].Dpi);
  m.ScreenTextWidth = onScreen.Width;
  m.ScreenTextHeight = onScreen.Height;
  DerivePageMetrics(setup_.Metrics, m);
}

void SheetPreview::PageSetupChanged() {
  MeasurePage();
  SizePageView();
  if (sheetPrinter_) sheetPrinter_->MakePages();
  RepaintPage();
  emit stateChanged();
}

void SheetPreview::SizePageView() {
  const TDeviceMetrics& s = setup_.Metrics[DeviceScreen];
  const int h = Round(s.PageHeight * zoom_);
  const int w = Round(s.PageWidth * zoom_);
  pageWidget_->SetCellSize(w, h);
  // Resizing the scrolled widget keeps the scroll positions where they can stay.
  pageArea_->widget()->setFixedSize(w + 2 * kPageInset, h + 2 * kPageInset);
  pageWidget_->move(kPageInset, kPageInset);
}

PreviewState SheetPreview::State() const {
  PreviewState state;
  state.SheetIndex = Showing() ? 1 : 0;
  state.PageCount = PageCount();
  state.CurPage = page_;
  state.Zoom = zoom_;
  state.ZoomMin = zoomMin_;
  state.ZoomMax = zoomMax_;
  return state;
}

std::vector<std::string> SheetPreview::PageLabels() const {
  return ::PageLabels(pageList_, book_, kind_ == SheetKind::ByClass);
}

void SheetPreview::RepaintPage() { pageWidget_->repaint(); }

void SheetPreview::paintPage(QPainter& painter) {
  if (!Showing()) return;
  const TDeviceMetrics& s = setup_.Metrics[DeviceScreen];
  const int x1 = Round(s.MarginLeft * zoom_);
  const int y1 = Round(s.MarginTop * zoom_);
  const int x2 = Round((s.PageWidth - s.MarginRight) * zoom_);
  const int y2 = Round((s.PageHeight - s.MarginBottom) * zoom_);
  painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
  PainterCanvas canvas(painter, s.Dpi);
  // The printable area inside the margins; shown on screen only.
  canvas.SetPenStyle(PenStyle::DashDotDot);
  canvas.Rectangle(x1, y1, x2, y2);
  canvas.SetPenStyle(PenStyle::Solid);
  if (page_ <= 0 || !printer_) return;
  // The page as it will print: laid out once in printer pixels (device 0,
  // scale 1.0) and scaled to the screen, screen pixels per printer pixel
  // times the zoom. The screen's own text metrics would put figures into
  // their labels and run the table off the page.
  const TDeviceMetrics& p = setup_.Metrics[DevicePrinter];
  const double scale = ScreenRatio(setup_.Metrics) * zoom_;
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.scale(scale, scale);
  PrinterLaidCanvas page(painter, *printer_, p.Dpi);
  sheetPrinter_->DrawPage(page, page_, DevicePrinter, 1.0);
  painter.restore();
}

void SheetPreview::ShowPage(int page) {
  page_ = page;
  RepaintPage();
  emit stateChanged();
}

void SheetPreview::previousPage() {
  if (page_ > 1) ShowPage(page_ - 1);
}

void SheetPreview::nextPage() {
  if (PageCount() > page_) ShowPage(page_ + 1);
}

void SheetPreview::firstPage() {
  if (PageCount() > 0) ShowPage(1);
}

void SheetPreview::lastPage() {
  if (PageCount() > 0) ShowPage(PageCount());
}

void SheetPreview::GoToPage(int page) {
  if (page >= 1 && page <= PageCount()) ShowPage(page);
}

void SheetPreview::SetZoom(double zoom) {
  zoom_ = zoom;
  SizePageView();
  RepaintPage();
  emit stateChanged();
}

void SheetPreview::zoomIn() {
  if (zoom_ < zoomMax_) SetZoom(ZoomedIn(zoom_, zoomMax_));
}

void SheetPreview::zoomOut() {
  if (zoom_ > zoomMin_) SetZoom(ZoomedOut(zoom_, zoomMin_));
}

void SheetPreview::scrollToTop() { ScrollTo(pageArea_->verticalScrollBar(), false); }
void SheetPreview::scrollToBottom() { ScrollTo(pageArea_->verticalScrollBar(), true); }
void SheetPreview::scrollToLeft() { ScrollTo(pageArea_->horizontalScrollBar(), false); }
void SheetPreview::scrollToRight() { ScrollTo(pageArea_->horizontalScrollBar(), true); }
void SheetPreview::scrollToTopLeft() {
  scrollToTop();
  scrollToLeft();
}
void SheetPreview::scrollToBottomRight() {
  scrollToBottom();
  scrollToRight();
}

}  // namespace preview
