// The printing side of the window: the page dialogs (margins), the fonts of
// the sheet, the printer set-up and printing. What a choice means (which
// pages, how margins follow a printer of another resolution) is decided in
// printing/; a print job checks every step and words its own failures.
#include <QAction>
#include <QFileInfo>
#include <QPrinter>

#include "app/ChosenSheet.h"
#include "app/SheetOutputTexts.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "preview/PrintJob.h"
#include "preview/PrintProgress.h"
#include "printing/ChosenPages.h"
#include "printing/PreviewRules.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"

// Keeps fonts and margins for the next start; a file that cannot be written
// is told to the user (the change itself stays in effect for this run).
void MainWindow::SaveSettings() {
  const SettingsSaveResult result = SavePrintSettings(AppDir, UserDir, Setup);
  if (!result.Ok) Dialogs().Error(this, QString::fromStdString(result.Message));
}

void MainWindow::setMargins() {
  EnsurePreview();
  if (!Dialogs().PageMargins(this, Setup.Metrics)) return;
  PageSetupChanged();
  SaveSettings();
}

void MainWindow::chooseBodyFont() {
  EnsurePreview();
  const std::optional<FontSpec> font = Dialogs().ChooseFont(this, Setup.BodyFont);
  if (!font) return;
  Setup.BodyFont = *font;
  PageSetupChanged();
  SaveSettings();
}

void MainWindow::chooseTitleFont() {
  EnsurePreview();
  const std::optional<FontSpec> font = Dialogs().ChooseFont(this, Setup.TitleFont);
  if (!font) return;
  Setup.TitleFont = *font;
  SaveSettings();
  RepaintPage();
}

void MainWindow::setUpPrinter() {
  EnsurePreview();
  if (!Printer || !Dialogs().PrinterSetup(this, *Printer)) return;
  // Another printer may draw at another resolution. The page is drawn in
  // that printer's pixels, so the resolution and the margins (kept in
  // printer pixels) follow it; otherwise the sheet would print scaled.
  RescalePrinterMargins(Setup.Metrics[DevicePrinter], Printer->resolution());
  PageSetupChanged();
}

// "<file> - 学生成绩单" (with the split sheet marked), so the job can be told
// apart in the printer queue.
QString MainWindow::JobTitle() const {
  const QString title = QFileInfo(PathToQString(FileName)).fileName();
  const QString sheet = GbkToQString(preview::SheetName(SheetIndex)) +
                        (SheetMode == SheetKind::ByClass ? WindowTexts::ByClassMark() : QString());
  return title.isEmpty() ? sheet : title + WindowTexts::JobTitleSeparator() + sheet;
}

void MainWindow::printSheet() {
  if (SheetIndex <= 0 || !sheetPrinter || sheetPrinter->FPageCount <= 0 || !Printer) return;
  if (!ConfirmFindings(FindingsPurpose::Print)) return;
  const auto courses = Dialogs().ChooseSheetCourses(this, sheetCoursesOffer(SheetOutputTexts::PrintTitle(), false));
  if (!courses) return;
  ChosenSheet sheet(Book, Setup, SheetMode, courses->Courses);
  const int count = sheet.Printer.FPageCount;
  if (count <= 0) return;
  Printer->setDocName(JobTitle());
  const std::optional<PrintChoice> choice = Dialogs().Print(this, *Printer, 1, count);
  if (!choice) return;
  const preview::PageSpan span = preview::PagesToPrint(*choice, count, SamePageIn(PageList, CurPage, sheet.Pages));
  // A range that ends before it begins prints nothing: no job reaches the printer.
  if (span.First > span.Last) return;

  if (Printer->outputFormat() == QPrinter::PdfFormat && Printer->outputFileName().isEmpty()) {
    Dialogs().Error(this, WindowTexts::NoPdfFileName());
    return;
  }
  preview::PrintJob job(*Printer);
  if (job.WritesFile()) {
    // A file is drawn in parallel and joined; the dialog follows the pages done.
    preview::PrintProgress progress(this, span);
    SheetPdfOptions options;
    options.Progress = [&](int done) { return progress.Step(span.First + std::min(done, span.Last - span.First)); };
    const SheetSource source{Book, Setup, SheetMode, sheet.Pages, sheet.Rows};
    if (!job.WriteFile([&](platform::OutputFile& out, const PdfPaper& paper) {
          return DrawSheetPdf(source, paper, span.First, span.Last, out, options);
        }))
      Dialogs().Error(this, job.Message());
    return;
  }
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
    sheet.Printer.DrawPage(canvas, p, DevicePrinter, 1.0);
    if (p != span.Last && !job.NewPage()) break;
  }
  // A cancelled job ends quietly; a failed one says why.
  if (!job.Finish()) Dialogs().Error(this, job.Message());
}
