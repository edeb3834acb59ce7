#include "preview/PrintJob.h"

#include <QPdfWriter>
#include <QPrinter>
#include <cerrno>

#include "gradefile/FileMessages.h"
#include "printing/qt/OutputFileDevice.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"
#include "text/Texts.h"

namespace preview {

namespace {

QString Reason(const platform::FileStatus& status) {
  return QString::fromStdString(FileErrorReason(status));
}

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

PrintJob::PrintJob(QPrinter& printer) : printer_(printer), file_(printer.outputFileName()) {}

PrintJob::~PrintJob() {
  if (painter_.isActive()) {
    if (!file_.isEmpty()) painter_.end();
    else printer_.abort();
  }
  // An OutputFile that was not committed is thrown away with it.
}

QString PrintJob::Where() const {
  if (file_.isEmpty()) return printer_.printerName();
  return QString::fromStdString(DisplayPath(PathBytes(file_)));
}

bool PrintJob::Fail(const QString& what, const QString& reason) {
  if (!failed_) {
    failed_ = true;
    message_ = what + Where();
    if (!reason.isEmpty()) message_ += QStringLiteral("\n") + reason;
  }
  return false;
}

bool PrintJob::Begin() {
  if (file_.isEmpty()) {
    begun_ = painter_.begin(&printer_);
    return begun_ || Fail(Text(texts::kCannotStartPrinting));
  }
  platform::FileStatus status;
  output_ = platform::OutputFile::Begin(PathBytes(file_), status);
  if (!output_) return Fail(Text(texts::kCannotWritePdf), Reason(status));
  device_ = std::make_unique<OutputFileDevice>(*output_);
  // The same pages the printer would write into the file: its paper, margins
  // and resolution, so the sheet laid out for it fits as it does on paper.
  writer_ = std::make_unique<QPdfWriter>(device_.get());
  writer_->setResolution(printer_.resolution());
  writer_->setPageLayout(printer_.pageLayout());
  writer_->setTitle(printer_.docName());
  writer_->setCreator(printer_.creator().isEmpty() ? QStringLiteral("gradesheet")
                                                   : printer_.creator());
  begun_ = painter_.begin(writer_.get());
  return begun_ || Fail(Text(texts::kCannotWritePdf));
}

bool PrintJob::WriteFile(const DrawFile& draw) {
  begun_ = finished_ = true;
  platform::FileStatus status;
  output_ = platform::OutputFile::Begin(PathBytes(file_), status);
  if (!output_) return Fail(Text(texts::kCannotWritePdf), Reason(status));
  PdfPaper paper;
  paper.Resolution = printer_.resolution();
  paper.Layout = printer_.pageLayout();
  paper.Title = printer_.docName();
  paper.Creator = printer_.creator().isEmpty() ? QStringLiteral("gradesheet") : printer_.creator();
  switch (draw(*output_, paper)) {
    case SheetPdfOutcome::Cancelled:
      cancelled_ = true;
      output_->Abandon();
      return true;
    case SheetPdfOutcome::Failed:
      output_->Fail({platform::FileError::Other, EIO});  // kept only without a reason of its own
      break;
    case SheetPdfOutcome::Written:
      break;
  }
  status = output_->Commit();
  if (!status.Ok()) return Fail(Text(texts::kPdfWriteFailed), Reason(status));
  return true;
}

bool PrintJob::NewPage() {
  if (failed_ || cancelled_) return false;
  const bool next = writer_ ? writer_->newPage() : printer_.newPage();
  return next || Fail(Text(file_.isEmpty() ? texts::kCannotStartPage : texts::kCannotWritePdf));
}

void PrintJob::Cancel() {
  if (!begun_ || finished_) return;
  cancelled_ = true;
  if (file_.isEmpty()) printer_.abort();
}

bool PrintJob::Finish() {
  if (finished_) return !failed_;
  finished_ = true;
  if (!begun_) return false;
  const bool ended = painter_.isActive() ? painter_.end() : false;
  if (cancelled_) {
    if (output_) output_->Abandon();
    return true;
  }
  if (failed_) {
    if (output_) output_->Abandon();
    return false;
  }
  if (!output_) {
    if (!ended || printer_.printerState() == QPrinter::Error)
      return Fail(Text(texts::kPrintingFailed));
    return true;
  }
  const bool flushed = device_->Flush();
  // A writer that could not end left a file no reader can use.
  if (flushed && !ended) output_->Fail({platform::FileError::Other, EIO});
  const platform::FileStatus status = output_->Commit();
  if (!status.Ok()) return Fail(Text(texts::kPdfWriteFailed), Reason(status));
  return true;
}

}  // namespace preview
