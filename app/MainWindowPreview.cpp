// The preview side of the window: the two views, the sheet printer and its
// layout, the page surface, zoom and navigation. The preview's rules (zoom
// limits and steps, status texts, which commands are enabled) are in
// printing/PreviewRules; this file applies them to the components.
#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "grading/Numbers.h"
#include "preview/PrinterLaidCanvas.h"
#include "preview/DefaultPrinter.h"
#include "preview/PageWidget.h"
#include "printing/PageLabels.h"
#include "printing/PreviewRules.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"

void MainWindow::MeasureResolutions() {
  Printer = preview::DefaultPrinter();
  Setup.Metrics[DevicePrinter].Dpi = Printer->resolution();
  QWidget* screenDevice = pageWidget != nullptr ? static_cast<QWidget*>(pageWidget) : this;
  Setup.Metrics[DeviceScreen].Dpi = screenDevice->logicalDpiY();
}

void MainWindow::InitZoomLimits() {
  const preview::ZoomLimits limits = preview::ComputeZoomLimits(Setup.BodyFont.Size);
  ZoomMin = limits.Min;
  ZoomMax = limits.Max;
  Zoom = 1.0;
}

void MainWindow::showEditing() {
  ShowView(false);
  commands_.showSheet->setEnabled(true);
  commands_.showSheetByClass->setEnabled(true);
}

void MainWindow::showSheet() { PreviewSheet(SheetKind::WholeCourse); }

void MainWindow::showSheetByClass() { PreviewSheet(SheetKind::ByClass); }

void MainWindow::ShowView(bool preview) {
  if (views != nullptr) {
    QWidget* view = preview ? static_cast<QWidget*>(pageArea) : static_cast<QWidget*>(editingView);
    if (view != nullptr) views->setCurrentWidget(view);
  }
  if (statusLine != nullptr) statusLine->setVisible(preview);
  commands_.ShowView(preview);
  FollowEdits();
}

void MainWindow::PreviewSheet(SheetKind kind) {
  EnsurePreview();
  ShowView(true);
  commands_.showSheet->setEnabled(kind != SheetKind::WholeCourse);
  commands_.showSheetByClass->setEnabled(kind == SheetKind::WholeCourse);
  SheetMode = kind;
  if (SheetIndex == 1) LayoutSheet(); else SelectSheet(1);
}

void MainWindow::SelectSheet(std::uint8_t kind) {
  if (SheetIndex > 0) {
    sheetPrinter.reset();
    SheetIndex = 0;
  }
  if (kind == 1) {
    SheetIndex = 1;
    sheetPrinter = std::make_unique<GradeSheetPrinter>(Book, Setup, SheetMode, PageList, RowList);
    MeasurePage();
    LayoutSheet();
  }
}

void MainWindow::LayoutSheet() {
  if (!sheetPrinter) return;
  sheetPrinter->MakePages();
  CurPage = sheetPrinter->FPageCount > 0 ? 1 : 0;
  SizePageView();
  RepaintPage();
  ShowPreviewState();
}

void MainWindow::MeasurePage() {
  if (!Printer) return;
  DeviceMeasurement m;
  // The printable area of the current printer and paper, in printer pixels.
  const QRect page = Printer->pageRect(QPrinter::DevicePixel).toRect();
  m.PrinterPageWidth = page.width();
  m.PrinterPageHeight = page.height();
  const TextExtent onPrinter =
      MeasureDigits(*Printer, Setup.BodyFont, Setup.Metrics[DevicePrinter].Dpi);
  m.PrinterTextWidth = onPrinter.Width;
  m.PrinterTextHeight = onPrinter.Height;
  QWidget* screen = pageWidget != nullptr ? static_cast<QWidget*>(pageWidget) : this;
  const TextExtent onScreen =
      MeasureDigits(*screen, Setup.BodyFont, Setup.Metrics[DeviceScreen].Dpi);
  m.ScreenTextWidth = onScreen.Width;
  m.ScreenTextHeight = onScreen.Height;
  DerivePageMetrics(Setup.Metrics, m);
}

namespace {
// The page sits 20 pixels in from the scrolled area's edges; the area is the
// page plus that border on every side, so the scroll ranges follow the page.
constexpr int kPageInset = 20;

QWidget* PageContainer(QScrollArea& box, PageWidget& grid) {
  QWidget* container = box.widget();
  if (container == nullptr) {
    container = new QWidget;
    container->setObjectName(QStringLiteral("PageArea"));
    box.setWidgetResizable(false);
    box.setWidget(container);
  }
  if (grid.parentWidget() != container) {
    grid.setParent(container);
    grid.show();
  }
  return container;
}
}  // namespace

void MainWindow::PageSetupChanged() {
  MeasurePage();
  SizePageView();
  if (SheetIndex > 0 && sheetPrinter) sheetPrinter->MakePages();
  RepaintPage();
  ShowPreviewState();
}

void MainWindow::SizePageView() {
  if (pageWidget == nullptr) return;
  const TDeviceMetrics& s = Setup.Metrics[DeviceScreen];
  const int h = Round(s.PageHeight * Zoom);
  const int w = Round(s.PageWidth * Zoom);
  pageWidget->SetCellSize(w, h);
  if (pageArea != nullptr) {
    QWidget* container = PageContainer(*pageArea, *pageWidget);
    // Resizing the scrolled widget keeps the scroll positions where they can stay.
    container->setFixedSize(w + 2 * kPageInset, h + 2 * kPageInset);
  }
  pageWidget->move(kPageInset, kPageInset);
}

void MainWindow::ShowPreviewState() {
  preview::PreviewState state;
  state.SheetIndex = SheetIndex;
  state.PageCount = sheetPrinter ? sheetPrinter->FPageCount : 0;
  state.CurPage = CurPage;
  state.Zoom = Zoom;
  state.ZoomMin = ZoomMin;
  state.ZoomMax = ZoomMax;
  const preview::CommandStates c = preview::PreviewCommands(state);
  const auto texts = preview::PreviewStatusTexts(state);
  for (std::size_t i = 0; i < statusPanels.size(); ++i)
    if (statusPanels[i] != nullptr) statusPanels[i]->setText(GbkToQString(texts[i]));
  commands_.EnablePreview(c);
}

void MainWindow::RepaintPage() {
  if (pageWidget != nullptr) pageWidget->repaint();
}

void MainWindow::paintPage(QPainter& painter) {
  if (SheetIndex != 1) return;
  const TDeviceMetrics& s = Setup.Metrics[DeviceScreen];
  const int x1 = Round(s.MarginLeft * Zoom);
  const int y1 = Round(s.MarginTop * Zoom);
  const int x2 = Round((s.PageWidth - s.MarginRight) * Zoom);
  const int y2 = Round((s.PageHeight - s.MarginBottom) * Zoom);
  painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
  PainterCanvas canvas(painter, s.Dpi);
  // The printable area inside the margins; shown on screen only.
  canvas.SetPenStyle(PenStyle::DashDotDot);
  canvas.Rectangle(x1, y1, x2, y2);
  canvas.SetPenStyle(PenStyle::Solid);
  if (CurPage <= 0 || !sheetPrinter || !Printer) return;
  // The page as it will print: laid out once in printer pixels (device 0,
  // scale 1.0) and scaled to the screen, screen pixels per printer pixel
  // times the zoom. The screen's own text metrics would put figures into
  // their labels and run the table off the page.
  const TDeviceMetrics& p = Setup.Metrics[DevicePrinter];
  const double scale = ScreenRatio(Setup.Metrics) * Zoom;
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.scale(scale, scale);
  PrinterLaidCanvas page(painter, *Printer, p.Dpi);
  sheetPrinter->DrawPage(page, CurPage, DevicePrinter, 1.0);
  painter.restore();
}

void MainWindow::previousPage() {
  if (CurPage > 1) {
    --CurPage;
    RepaintPage();
    ShowPreviewState();
  }
}

void MainWindow::nextPage() {
  if (SheetIndex > 0 && sheetPrinter && sheetPrinter->FPageCount > CurPage) {
    ++CurPage;
    RepaintPage();
    ShowPreviewState();
  }
}

void MainWindow::firstPage() {
  if (SheetIndex > 0 && sheetPrinter && sheetPrinter->FPageCount > 0) {
    CurPage = 1;
    RepaintPage();
    ShowPreviewState();
  }
}

void MainWindow::lastPage() {
  if (SheetIndex > 0 && sheetPrinter && sheetPrinter->FPageCount > 0) {
    CurPage = sheetPrinter->FPageCount;
    RepaintPage();
    ShowPreviewState();
  }
}

void MainWindow::choosePage() {
  if (SheetIndex < 1 || !sheetPrinter || sheetPrinter->FPageCount < 2) return;
  QStringList labels;
  for (const std::string& label : PageLabels(PageList, Book, SheetMode == SheetKind::ByClass)) labels << GbkToQString(label);
  const std::optional<int> page = Dialogs().ChoosePageOf(this, labels, CurPage);
  if (!page || *page < 1 || *page > sheetPrinter->FPageCount) return;
  CurPage = *page;
  RepaintPage();
  ShowPreviewState();
}

void MainWindow::zoomIn() {
  if (Zoom < ZoomMax) {
    Zoom = preview::ZoomedIn(Zoom, ZoomMax);
    SizePageView();
    RepaintPage();
    ShowPreviewState();
  }
}

void MainWindow::zoomOut() {
  if (Zoom > ZoomMin) {
    Zoom = preview::ZoomedOut(Zoom, ZoomMin);
    SizePageView();
    RepaintPage();
    ShowPreviewState();
  }
}

namespace {
void ScrollTo(QScrollBar* bar, bool toEnd) {
  if (bar == nullptr || bar->maximum() - bar->minimum() <= 0) return;
  bar->setValue(toEnd ? bar->maximum() : 0);
}
}  // namespace

void MainWindow::scrollToTop() {
  if (pageArea != nullptr) ScrollTo(pageArea->verticalScrollBar(), false);
}
void MainWindow::scrollToBottom() {
  if (pageArea != nullptr) ScrollTo(pageArea->verticalScrollBar(), true);
}
void MainWindow::scrollToLeft() {
  if (pageArea != nullptr) ScrollTo(pageArea->horizontalScrollBar(), false);
}
void MainWindow::scrollToRight() {
  if (pageArea != nullptr) ScrollTo(pageArea->horizontalScrollBar(), true);
}
void MainWindow::scrollToTopLeft() {
  scrollToTop();
  scrollToLeft();
}
void MainWindow::scrollToBottomRight() {
  scrollToBottom();
  scrollToRight();
}

