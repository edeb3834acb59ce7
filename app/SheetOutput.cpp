// The sheet printed, and the page dialogs (margins), the fonts of the sheet
// and the printer set-up it is printed with. What a choice means (which
// pages, how margins follow a printer of another resolution) is decided in
// printing/; a print job checks every step and words its own failures.
#include <QAction>
#include <QFileInfo>
#include <QPrinter>
#include <QWidget>

#include "app/ChosenSheet.h"
#include "app/SheetOutputTexts.h"
#include "app/Document.h"
#include "app/SheetOutput.h"
#include "app/WindowTexts.h"
#include "preview/PrintJob.h"
#include "preview/PrintProgress.h"
#include "preview/SheetPreview.h"
#include "printing/ChosenPages.h"
#include "printing/PreviewRules.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"

SheetOutput::SheetOutput(QWidget& window, Document& document, preview::SheetPreview& preview, DialogSeam& dialogs,
                         WindowHooks hooks)
    : QObject(&window), window_(window), document_(document), preview_(preview), dialogs_(dialogs),
      hooks_(std::move(hooks)) {}

void SheetOutput::KeepSettingsIn(std::string appDir, std::string userDir) {
  appDir_ = std::move(appDir);
  userDir_ = std::move(userDir);
}

// Keeps fonts and margins for the next start; a file that cannot be written
// is told to the user (the change itself stays in effect for this run).
void SheetOutput::SaveSettings() {
  const SettingsSaveResult result = SavePrintSettings(appDir_, userDir_, preview_.Setup());
  if (!result.Ok) dialogs_.Error(&window_, QString::fromStdString(result.Message));
}

void SheetOutput::setMargins() {
  hooks_.EnsurePreview();
  if (!dialogs_.PageMargins(&window_, preview_.Setup().Metrics)) return;
  preview_.PageSetupChanged();
  SaveSettings();
}

void SheetOutput::chooseBodyFont() {
  hooks_.EnsurePreview();
  PrintSetup& setup = preview_.Setup();
  const std::optional<FontSpec> font = dialogs_.ChooseFont(&window_, setup.BodyFont);
  if (!font) return;
  setup.BodyFont = *font;
  preview_.PageSetupChanged();
  SaveSettings();
}

void SheetOutput::chooseTitleFont() {
  hooks_.EnsurePreview();
  PrintSetup& setup = preview_.Setup();
  const std::optional<FontSpec> font = dialogs_.ChooseFont(&window_, setup.TitleFont);
  if (!font) return;
  setup.TitleFont = *font;
  SaveSettings();
  preview_.RepaintPage();
}

void SheetOutput::setUpPrinter() {
  hooks_.EnsurePreview();
  QPrinter* printer = preview_.Printer();
  if (printer == nullptr || !dialogs_.PrinterSetup(&window_, *printer)) return;
  // Another printer may draw at another resolution. The page is drawn in
  // that printer's pixels, so the resolution and the margins (kept in
  // printer pixels) follow it; otherwise the sheet would print scaled.
  RescalePrinterMargins(preview_.Setup().Metrics[DevicePrinter], printer->resolution());
  preview_.PageSetupChanged();
}

// "<file> - 学生成绩单" (with the split sheet marked), so the job can be told
// apart in the printer queue.
QString SheetOutput::JobTitle() const {
  const QString title = QFileInfo(PathToQString(document_.FileName())).fileName();
  const QString sheet = GbkToQString(preview::SheetName(preview_.State().SheetIndex)) +
                        (preview_.Kind() == SheetKind::ByClass ? WindowTexts::ByClassMark() : QString());
  return title.isEmpty() ? sheet : title + WindowTexts::JobTitleSeparator() + sheet;
}

void SheetOutput::printSheet() {
  QPrinter* printer = preview_.Printer();
  if (preview_.PageCount() <= 0 || printer == nullptr) return;
  const PrintSetup& setup = preview_.Setup();
  if (!hooks_.ConfirmPrint()) return;
  const auto courses = dialogs_.ChooseSheetCourses(&window_, sheetCoursesOffer(SheetOutputTexts::PrintTitle(), false));
  if (!courses) return;
  ChosenSheet sheet(document_.Book(), setup, preview_.Kind(), courses->Courses);
  const int count = sheet.Printer.FPageCount;
  if (count <= 0) return;
  printer->setDocName(JobTitle());
  const std::optional<PrintChoice> choice = dialogs_.Print(&window_, *printer, 1, count);
  if (!choice) return;
  const preview::PageSpan span = preview::PagesToPrint(*choice, count, SamePageIn(preview_.PageList(), preview_.Page(), sheet.Pages));
  // A range that ends before it begins prints nothing: no job reaches the printer.
  if (span.First > span.Last) return;

  if (printer->outputFormat() == QPrinter::PdfFormat && printer->outputFileName().isEmpty()) {
    dialogs_.Error(&window_, WindowTexts::NoPdfFileName());
    return;
  }
  preview::PrintJob job(*printer);
  if (job.WritesFile()) {
    // A file is drawn in parallel and joined; the dialog follows the pages done.
    preview::PrintProgress progress(&window_, span);
    SheetPdfOptions options;
    options.Progress = [&](int done) { return progress.Step(span.First + std::min(done, span.Last - span.First)); };
    const SheetSource source{document_.Book(), setup, preview_.Kind(), sheet.Pages, sheet.Rows};
    if (!job.WriteFile([&](platform::OutputFile& out, const PdfPaper& paper) {
          return DrawSheetPdf(source, paper, span.First, span.Last, out, options);
        }))
      dialogs_.Error(&window_, job.Message());
    return;
  }
  if (!job.Begin()) {
    dialogs_.Error(&window_, job.Message());
    return;
  }
  PainterCanvas canvas(job.Painter(), setup.Metrics[DevicePrinter].Dpi);
  preview::PrintProgress progress(&window_, span);
  for (int p = span.First; p <= span.Last; ++p) {
    if (!progress.Step(p)) {
      job.Cancel();
      break;
    }
    sheet.Printer.DrawPage(canvas, p, DevicePrinter, 1.0);
    if (p != span.Last && !job.NewPage()) break;
  }
  // A cancelled job ends quietly; a failed one says why.
  if (!job.Finish()) dialogs_.Error(&window_, job.Message());
}
