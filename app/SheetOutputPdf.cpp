// The courses a print of the sheet is for, and the sheet written as a PDF
// from the window: the same choice, the fast PDF path of the batch tool
// with the print job's progress and cancel, and never over a grade file.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "app/ChosenSheet.h"
#include "app/SheetOutputTexts.h"
#include "app/Document.h"
#include "app/SheetOutput.h"
#include "app/WindowTexts.h"
#include "gradefile/FileMessages.h"
#include "gradefile/OutputCheck.h"
#include "preview/PrintProgress.h"
#include "preview/SheetPreview.h"
#include "printing/PageMetrics.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"
#include "text/Blanks.h"

SheetCoursesOffer SheetOutput::sheetCoursesOffer(const QString& title, bool withPages) const {
  const GradeBook& book = document_.Book();
  SheetCoursesOffer offer;
  offer.Title = title;
  offer.Keys = book.CourseKeys;
  for (std::size_t i = 0; i < book.CourseKeys.size(); ++i)
    offer.Courses << (i < book.CourseRows.size() ? GbkToQString(TrimmedBlanks(book.CourseRows[i]))
                                                 : GbkToQString(book.CourseKeys[i]));
  const int row = hooks_.ShownCourse();
  if (row >= 1 && row <= static_cast<int>(book.CourseKeys.size())) offer.ShownCourse = row - 1;
  offer.WithPages = withPages;
  offer.PageCount = [this](const CourseChoice& choice) {
    return static_cast<int>(ChosenSheet(document_.Book(), preview_.Setup(), preview_.Kind(), choice).Printer.FPageCount);
  };
  return offer;
}

void SheetOutput::exportSheetPdf() {
  const std::string& fileName = document_.FileName();
  if (fileName.empty() || document_.Book().CourseKeys.empty()) return;
  hooks_.LeaveEditor();
  if (!hooks_.ConfirmPrint()) return;
  const SheetCoursesOffer offer = sheetCoursesOffer(SheetOutputTexts::ExportTitle(), true);
  const std::optional<SheetCoursesChoice> choice = dialogs_.ChooseSheetCourses(&window_, offer);
  if (!choice) return;
  const int count = offer.PageCount(choice->Courses);
  const preview::PageSpan span = preview::PagesToPrint(choice->Pages, count, 1);
  if (span.First > span.Last) {
    dialogs_.Error(&window_, SheetOutputTexts::NoPages());
    return;
  }

  const QFileInfo gradeFile(PathToQString(fileName));
  const QString suggested = gradeFile.dir().filePath(gradeFile.completeBaseName() +
                                                     (preview_.Kind() == SheetKind::ByClass ? WindowTexts::ByClassMark() : QString()) +
                                                     QStringLiteral(".pdf"));
  const std::optional<ChosenFile> chosen = dialogs_.SaveFileOfType(&window_, SheetOutputTexts::ExportTitle(), suggested,
                                                                    {SheetOutputTexts::PdfFilter()});
  if (!chosen || chosen->Path.isEmpty()) return;
  QString path = chosen->Path;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  const std::string target = PathBytes(path);
  const std::string inputs[] = {fileName};
  if (const std::string refused = OutputRefusal(target, inputs); !refused.empty()) {
    dialogs_.Error(&window_, QString::fromStdString(refused));
    return;
  }

  // The PDF's own resolution; fonts and margins are the window's.
  PrintSetup setup = preview_.Setup();
  RescalePrinterMargins(setup.Metrics[DevicePrinter], kPdfDpi);
  preview::PrintProgress progress(&window_, span);
  bool cancelled = false;
  SheetPdfOptions options;
  options.Progress = [&](int done) {
    cancelled = cancelled || !progress.Step(span.First + std::min(done, span.Last - span.First));
    return !cancelled;
  };
  const GradeBook* books[] = {&document_.Book()};
  const SheetPdfResult result =
      WriteSheetsPdf(target, books, setup, preview_.Kind(), choice->Courses, span.First, span.Last, options);
  if (cancelled) return;  // nothing written, as the teacher asked
  if (!result.Ok) {
    dialogs_.Error(&window_, SheetOutputTexts::WriteFailed(
                              QString::fromStdString(DisplayPath(target)),
                              QString::fromStdString(FileErrorReason(result.Status))));
    return;
  }
  dialogs_.Information(&window_, SheetOutputTexts::Written(path, result.PagesWritten));
}
