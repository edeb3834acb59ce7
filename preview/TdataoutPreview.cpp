// The preview half of the main window: views and the sheet printer, the page
// surface, zoom, navigation, page dialogs, fonts, printer set-up, printing.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/Tdataout.h"
#include "gradefile/Gbk.h"
#include "grading/Numbers.h"
#include "preview/PreviewRules.h"
#include "preview/PrintJob.h"
#include "preview/PrintProgress.h"
#include "preview/TDrawGrid.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"

namespace {

QString Ui(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

void Enable(QAction* action, bool on) {
  if (action != nullptr) action->setEnabled(on);
}
void Enable(QToolButton* button, bool on) {
  if (button != nullptr) button->setEnabled(on);
}

// Keeps fonts and margins for the next start; a file that cannot be written
// is told to the user (the change itself stays in effect for this run).
void SaveSettings(Tdataout& w) {
  const SettingsSaveResult result = SavePrintSettings(w.AppDir, w.UserDir, w.Setup);
  if (!result.Ok) w.Dialogs().Error(&w, QString::fromStdString(result.Message));
}

}  // namespace

void Tdataout::MeasureResolutions() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (!info.isNull()) Printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  // No printer installed (or one Qt cannot drive): preview and print to PDF.
  if (!Printer || !Printer->isValid()) {
    Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    Printer->setOutputFormat(QPrinter::PdfFormat);
    Printer->setResolution(600);
    Printer->setPageSize(QPageSize(QPageSize::A4));
  }
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
  if (Views != nullptr && Panel1 != nullptr) Views->setCurrentWidget(Panel1);
  if (ToolBar1 != nullptr) ToolBar1->setVisible(false);
  if (StatusBar1 != nullptr) StatusBar1->setVisible(false);
  Enable(N7, false);
  if (P1 != nullptr) P1->setVisible(false);
  Enable(Z1, false);
  Enable(N11, true);
  Enable(G1, true);
}

namespace {
void ShowPreview(Tdataout& w) {
  if (w.Views != nullptr && w.ScrollBox1 != nullptr) w.Views->setCurrentWidget(w.ScrollBox1);
  if (w.ToolBar1 != nullptr) w.ToolBar1->setVisible(true);
  if (w.StatusBar1 != nullptr) w.StatusBar1->setVisible(true);
  Enable(w.N7, true);
  if (w.P1 != nullptr) w.P1->setVisible(true);
  Enable(w.Z1, true);
}
}  // namespace

void Tdataout::N11Click() {
  ShowPreview(*this);
  Enable(N11, false);
  Enable(G1, true);
  SheetMode = 0;
  if (SheetIndex == 1) LayoutSheet(); else SelectSheet(1);
}

void Tdataout::G1Click() {
  ShowPreview(*this);
  Enable(N11, true);
  Enable(G1, false);
  SheetMode = 1;
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
    if (StatusPanels[i] != nullptr) StatusPanels[i]->setText(Ui(texts[i]));
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
  if (CurPage > 0 && SheetPrinter)
    SheetPrinter->DrawPage(canvas, CurPage, DeviceScreen, Zoom);
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
  const std::optional<int> page = Dialogs().ChoosePage(this, SheetPrinter->FPageCount, CurPage);
  if (!page || *page < 1 || *page > SheetPrinter->FPageCount) return;
  CurPage = *page;
  RepaintPage();
  SetpvStatus();
}

void Tdataout::B3Click() {
  if (!Dialogs().PageMargins(this, Setup.Metrics)) return;
  SetpvParameter();
  SetDrawBorder();
  if (SheetIndex > 0 && SheetPrinter) SheetPrinter->MakePages();
  RepaintPage();
  SetpvStatus();
  SaveSettings(*this);
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

void Tdataout::F2Click() {
  const std::optional<FontSpec> font = Dialogs().ChooseFont(this, Setup.BodyFont);
  if (!font) return;
  Setup.BodyFont = *font;
  SetpvParameter();
  SetDrawBorder();
  SaveSettings(*this);
  if (SheetIndex > 0 && SheetPrinter) SheetPrinter->MakePages();
  RepaintPage();
  SetpvStatus();
}

void Tdataout::L1Click() {
  const std::optional<FontSpec> font = Dialogs().ChooseFont(this, Setup.TitleFont);
  if (!font) return;
  Setup.TitleFont = *font;
  SaveSettings(*this);
  RepaintPage();
}

void Tdataout::S1Click() {
  if (!Printer || !Dialogs().PrinterSetup(this, *Printer)) return;
  // Another printer may draw at another resolution. The page is drawn in
  // that printer's pixels, so the resolution and the margins (kept in
  // printer pixels) follow it; otherwise the sheet would print scaled.
  TDeviceMetrics& printer = Setup.Metrics[DevicePrinter];
  const int dpi = Printer->resolution();
  if (dpi > 0 && printer.Dpi > 0 && dpi != printer.Dpi) {
    const double factor = static_cast<double>(dpi) / printer.Dpi;
    printer.MarginLeft = Round(printer.MarginLeft * factor);
    printer.MarginRight = Round(printer.MarginRight * factor);
    printer.MarginTop = Round(printer.MarginTop * factor);
    printer.MarginBottom = Round(printer.MarginBottom * factor);
    printer.Dpi = dpi;
  }
  SetpvParameter();
  SetDrawBorder();
  if (SheetIndex > 0 && SheetPrinter) SheetPrinter->MakePages();
  RepaintPage();
  SetpvStatus();
}

namespace {

// "<file> - 学生成绩单" (with the split sheet marked), so the job can be told
// apart in the printer queue.
QString JobTitle(const Tdataout& w) {
  const QString title =
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(w.FileName))).fileName();
  const QString sheet = Ui(preview::SheetName(w.SheetIndex)) +
                        (w.SheetMode != 0 ? QStringLiteral("(分班)") : QString());
  return title.isEmpty() ? sheet : title + QStringLiteral(" - ") + sheet;
}

}  // namespace

void Tdataout::P1Click() {
  if (SheetIndex <= 0 || !SheetPrinter || SheetPrinter->FPageCount <= 0 || !Printer) return;
  const int count = SheetPrinter->FPageCount;
  Printer->setDocName(JobTitle(*this));
  const std::optional<PrintChoice> choice = Dialogs().Print(this, *Printer, 1, count);
  if (!choice) return;
  const preview::PageSpan span = preview::PagesToPrint(*choice, count, CurPage);
  // A range that ends before it begins prints nothing: no job reaches the printer.
  if (span.First > span.Last) return;

  if (Printer->outputFormat() == QPrinter::PdfFormat && Printer->outputFileName().isEmpty()) {
    Dialogs().Error(this, QStringLiteral("没有给出要写入的PDF文件名，未打印。"));
    return;
  }
  preview::PrintJob job(*Printer);
  if (!job.Begin()) {
    Dialogs().Error(this, job.Message());
    return;
  }
  PainterCanvas canvas(job.Painter(), Setup.Metrics[DevicePrinter].Dpi);
  preview::PrintProgress progress(this, span);
  for (int p = span.First; p <= span.Last; ++p) {
    if (!progress.Step(p)) {
      job.Cancel();
      break;
    }
    SheetPrinter->DrawPage(canvas, p, DevicePrinter, 1.0);
    if (p != span.Last && !job.NewPage()) break;
  }
  // A cancelled job ends quietly; a failed one says why.
  if (!job.Finish()) Dialogs().Error(this, job.Message());
}
