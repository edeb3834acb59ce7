// The courses a print of the sheet is for, and the sheet written as a PDF
// from the window: the same choice, the fast PDF path of the batch tool
// with the print job's progress and cancel, and never over a grade file.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>
#include <algorithm>

#include "app/ChosenSheet.h"
#include "app/SheetOutputTexts.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/FileMessages.h"
#include "gradefile/OutputCheck.h"
#include "preview/PrintProgress.h"
#include "printing/PageMetrics.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"
#include "text/Blanks.h"

SheetCoursesOffer MainWindow::sheetCoursesOffer(const QString& title, bool withPages) {
  SheetCoursesOffer offer;
  offer.Title = title;
  offer.Keys = Book.CourseKeys;
  for (std::size_t i = 0; i < Book.CourseKeys.size(); ++i)
    offer.Courses << (i < Book.CourseRows.size() ? GbkToQString(TrimmedBlanks(Book.CourseRows[i]))
                                                 : GbkToQString(Book.CourseKeys[i]));
  const int row = courseList != nullptr ? courseList->currentRow() : 0;
  if (row >= 1 && row <= static_cast<int>(Book.CourseKeys.size())) offer.ShownCourse = row - 1;
  offer.WithPages = withPages;
  offer.PageCount = [this](const CourseChoice& choice) {
    return static_cast<int>(ChosenSheet(Book, Setup, SheetMode, choice).Printer.FPageCount);
  };
  return offer;
}

void MainWindow::exportSheetPdf() {
  if (FileName.empty() || Book.CourseKeys.empty()) return;
  leaveGradeEditor();  // the grade being typed belongs to the sheet
  if (!ConfirmFindings(FindingsPurpose::Print)) return;
  const SheetCoursesOffer offer = sheetCoursesOffer(SheetOutputTexts::ExportTitle(), true);
  const std::optional<SheetCoursesChoice> choice = Dialogs().ChooseSheetCourses(this, offer);
  if (!choice) return;
  const int count = offer.PageCount(choice->Courses);
  const preview::PageSpan span = preview::PagesToPrint(choice->Pages, count, 1);
  if (span.First > span.Last) {
    Dialogs().Error(this, SheetOutputTexts::NoPages());
    return;
  }

  const QFileInfo gradeFile(PathToQString(FileName));
  const QString suggested = gradeFile.dir().filePath(gradeFile.completeBaseName() +
                                                     (SheetMode == SheetKind::ByClass ? WindowTexts::ByClassMark() : QString()) +
                                                     QStringLiteral(".pdf"));
  const std::optional<ChosenFile> chosen = Dialogs().SaveFileOfType(this, SheetOutputTexts::ExportTitle(), suggested,
                                                                    {SheetOutputTexts::PdfFilter()});
  if (!chosen || chosen->Path.isEmpty()) return;
  QString path = chosen->Path;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  const std::string target = PathBytes(path);
  const std::string inputs[] = {FileName};
  if (const std::string refused = OutputRefusal(target, inputs); !refused.empty()) {
    Dialogs().Error(this, QString::fromStdString(refused));
    return;
  }

  // The PDF's own resolution; fonts and margins are the window's.
  PrintSetup setup = Setup;
  RescalePrinterMargins(setup.Metrics[DevicePrinter], kPdfDpi);
  preview::PrintProgress progress(this, span);
  bool cancelled = false;
  SheetPdfOptions options;
  options.Progress = [&](int done) {
    cancelled = cancelled || !progress.Step(span.First + std::min(done, span.Last - span.First));
    return !cancelled;
  };
  const GradeBook* books[] = {&Book};
  const SheetPdfResult result =
      WriteSheetsPdf(target, books, setup, SheetMode, choice->Courses, span.First, span.Last, options);
  if (cancelled) return;  // nothing written, as the teacher asked
  if (!result.Ok) {
    Dialogs().Error(this, SheetOutputTexts::WriteFailed(
                              QString::fromStdString(DisplayPath(target)),
                              QString::fromStdString(FileErrorReason(result.Status))));
    return;
  }
  Dialogs().Information(this, SheetOutputTexts::Written(path, result.PagesWritten));
}
