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
#include <QToolBar>
#include <QToolButton>

#include "app/Tdataout.h"
#include "grading/Numbers.h"
#include "preview/PrinterLaidCanvas.h"
#include "preview/DefaultPrinter.h"
#include "preview/TDrawGrid.h"
#include "printing/PageLabels.h"
#include "printing/PreviewRules.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"

namespace {

void Enable(QAction* action, bool on) {
  if (action != nullptr) action->setEnabled(on);
}
void Enable(QToolButton* button, bool on) {
  if (button != nullptr) button->setEnabled(on);
}

}  // namespace

void Tdataout::MeasureResolutions() {
  Printer = preview::DefaultPrinter();
  Setup.Metrics[DevicePrinter].Dpi = Printer->resolution();
  QWidget* screenDevice = DrawGrid1 != nullptr ? static_cast<QWidget*>(DrawGrid1) : this;
  Setup.Metrics[DeviceScreen].Dpi = screenDevice->logicalDpiY();
}

void Tdataout::InitZoomLimits() {
  const preview::ZoomLimits limits = preview::ComputeZoomLimits(Setup.BodyFont.Size);
  ZoomMin = limits.Min;
  ZoomMax = limits.Max;
  Zoom = 1.0;
}

void Tdataout::Z1Click() {
  ShowView(false);
  Enable(N11, true);
  Enable(G1, true);
}

void Tdataout::N11Click() { ShowSheet(0); }

void Tdataout::G1Click() { ShowSheet(1); }

void Tdataout::ShowView(bool preview) {
  if (Views != nullptr) {
    QWidget* view = preview ? static_cast<QWidget*>(ScrollBox1) : static_cast<QWidget*>(Panel1);
    if (view != nullptr) Views->setCurrentWidget(view);
  }
  if (ToolBar1 != nullptr) ToolBar1->setVisible(preview);
  if (StatusBar1 != nullptr) StatusBar1->setVisible(preview);
  Enable(N7, preview);
  if (P1 != nullptr) P1->setVisible(preview);
  Enable(Z1, preview);
  // Undo in the preview would change grades behind a page that shows them.
  Enable(E1, !preview);
  EnableUndoRedo();
}

void Tdataout::ShowSheet(std::uint8_t mode) {
  EnsurePreview();
  ShowView(true);
  Enable(N11, mode != 0);
  Enable(G1, mode == 0);
  SheetMode = mode;
  if (SheetIndex == 1) LayoutSheet(); else SelectSheet(1);
}

void Tdataout::SelectSheet(std::uint8_t kind) {
  if (SheetIndex > 0) {
    SheetPrinter.reset();
    SheetIndex = 0;
  }
  if (kind == 1) {
    SheetIndex = 1;
    SheetPrinter = std::make_unique<TdjxscjPrn>(Book, Setup, SheetMode, PageList, RowList);
    SetpvParameter();
    LayoutSheet();
  }
}

void Tdataout::LayoutSheet() {
  if (!SheetPrinter) return;
  SheetPrinter->MakePages();
  CurPage = SheetPrinter->FPageCount > 0 ? 1 : 0;
  SetDrawBorder();
  RepaintPage();
  SetpvStatus();
}

void Tdataout::SetpvParameter() {
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
  QWidget* screen = DrawGrid1 != nullptr ? static_cast<QWidget*>(DrawGrid1) : this;
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

QWidget* PageContainer(QScrollArea& box, TDrawGrid& grid) {
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

void Tdataout::PageSetupChanged() {
  SetpvParameter();
  SetDrawBorder();
  if (SheetIndex > 0 && SheetPrinter) SheetPrinter->MakePages();
  RepaintPage();
  SetpvStatus();
}

void Tdataout::SetDrawBorder() {
  if (DrawGrid1 == nullptr) return;
  const TDeviceMetrics& s = Setup.Metrics[DeviceScreen];
  const int h = Round(s.PageHeight * Zoom);
  const int w = Round(s.PageWidth * Zoom);
  DrawGrid1->SetCellSize(w, h);
  if (ScrollBox1 != nullptr) {
    QWidget* container = PageContainer(*ScrollBox1, *DrawGrid1);
    // Resizing the scrolled widget keeps the scroll positions where they can stay.
    container->setFixedSize(w + 2 * kPageInset, h + 2 * kPageInset);
  }
  DrawGrid1->move(kPageInset, kPageInset);
}

void Tdataout::SetpvStatus() {
  preview::PreviewState state;
  state.SheetIndex = SheetIndex;
  state.PageCount = SheetPrinter ? SheetPrinter->FPageCount : 0;
  state.CurPage = CurPage;
  state.Zoom = Zoom;
  state.ZoomMin = ZoomMin;
  state.ZoomMax = ZoomMax;
  const preview::CommandStates c = preview::PreviewCommands(state);
  const auto texts = preview::PreviewStatusTexts(state);
  for (std::size_t i = 0; i < StatusPanels.size(); ++i)
    if (StatusPanels[i] != nullptr) StatusPanels[i]->setText(GbkToQString(texts[i]));
  Enable(SpeedButton[1], c.PreviousPage);
  Enable(L2, c.PreviousPage);
  Enable(SpeedButton[2], c.NextPage);
  Enable(N10, c.NextPage);
  Enable(SpeedButton[3], c.ChoosePage);
  Enable(C2, c.ChoosePage);
  Enable(SpeedButton[4], c.ZoomIn);
  Enable(G2, c.ZoomIn);
  Enable(SpeedButton[5], c.ZoomOut);
  Enable(S2, c.ZoomOut);
  Enable(F3, c.FirstLast);
  Enable(E2, c.FirstLast);
  for (int i = 6; i <= 11; ++i) Enable(SpeedButton[i], c.Scroll);
  Enable(P1, c.Print);
  Enable(SpeedButton[16], c.Print);
}

void Tdataout::RepaintPage() {
  if (DrawGrid1 != nullptr) DrawGrid1->repaint();
}

void Tdataout::DrawGrid1DrawCell(QPainter& painter) {
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
  if (CurPage <= 0 || !SheetPrinter || !Printer) return;
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
  SheetPrinter->DrawPage(page, CurPage, DevicePrinter, 1.0);
  painter.restore();
}

void Tdataout::SpeedButton1Click() {
  if (CurPage > 1) {
    --CurPage;
    RepaintPage();
    SetpvStatus();
  }
}

void Tdataout::SpeedButton2Click() {
  if (SheetIndex > 0 && SheetPrinter && SheetPrinter->FPageCount > CurPage) {
    ++CurPage;
    RepaintPage();
    SetpvStatus();
  }
}

void Tdataout::F3Click() {
  if (SheetIndex > 0 && SheetPrinter && SheetPrinter->FPageCount > 0) {
    CurPage = 1;
    RepaintPage();
    SetpvStatus();
  }
}

void Tdataout::E2Click() {
  if (SheetIndex > 0 && SheetPrinter && SheetPrinter->FPageCount > 0) {
    CurPage = SheetPrinter->FPageCount;
    RepaintPage();
    SetpvStatus();
  }
}

void Tdataout::C2Click() {
  if (SheetIndex < 1 || !SheetPrinter || SheetPrinter->FPageCount < 2) return;
  QStringList labels;
  for (const std::string& label : PageLabels(PageList, Book, SheetMode != 0)) labels << GbkToQString(label);
  const std::optional<int> page = Dialogs().ChoosePageOf(this, labels, CurPage);
  if (!page || *page < 1 || *page > SheetPrinter->FPageCount) return;
  CurPage = *page;
  RepaintPage();
  SetpvStatus();
}

void Tdataout::SpeedButton4Click() {
  if (Zoom < ZoomMax) {
    Zoom = preview::ZoomedIn(Zoom, ZoomMax);
    SetDrawBorder();
    RepaintPage();
    SetpvStatus();
  }
}

void Tdataout::SpeedButton5Click() {
  if (Zoom > ZoomMin) {
    Zoom = preview::ZoomedOut(Zoom, ZoomMin);
    SetDrawBorder();
    RepaintPage();
    SetpvStatus();
  }
}

namespace {
void ScrollTo(QScrollBar* bar, bool toEnd) {
  if (bar == nullptr || bar->maximum() - bar->minimum() <= 0) return;
  bar->setValue(toEnd ? bar->maximum() : 0);
}
}  // namespace

void Tdataout::SpeedButton6Click() {
  if (ScrollBox1 != nullptr) ScrollTo(ScrollBox1->verticalScrollBar(), false);
}
void Tdataout::SpeedButton7Click() {
  if (ScrollBox1 != nullptr) ScrollTo(ScrollBox1->verticalScrollBar(), true);
}
void Tdataout::SpeedButton8Click() {
  if (ScrollBox1 != nullptr) ScrollTo(ScrollBox1->horizontalScrollBar(), false);
}
void Tdataout::SpeedButton9Click() {
  if (ScrollBox1 != nullptr) ScrollTo(ScrollBox1->horizontalScrollBar(), true);
}
void Tdataout::SpeedButton10Click() {
  SpeedButton6Click();
  SpeedButton8Click();
}
void Tdataout::SpeedButton11Click() {
  SpeedButton7Click();
  SpeedButton9Click();
}

