#pragma once
// One print job from its first page to its end, on the current printer or,
// when the printer writes a file (no printer installed, or printing to a file
// chosen in the print dialog), into that PDF file. The file is written like
// every file of the program: it holds all pages once the job has ended well,
// and stays as it was when the job fails or is cancelled.
//
// Every step is checked: a job that cannot begin, a page that cannot be
// started, a printer that ends in an error state, a file that cannot be
// written. A cancelled job is no failure.
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Files.h"

class OutputFileDevice;
class QPdfWriter;
class QPrinter;
struct PdfPaper;
enum class SheetPdfOutcome;

namespace preview {

class PrintJob {
 public:
  explicit PrintJob(QPrinter& printer);
  ~PrintJob();  // a job not finished is thrown away
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Starts the job; false (with Message) when it cannot start.
  bool Begin();

  // The job writes a PDF file rather than printing.
  bool WritesFile() const { return !file_.isEmpty(); }

  // A job that writes a PDF file, in one go instead of Begin, the pages and
  // Finish: `draw` puts the whole document into the file, on the printer's
  // paper, resolution and title. True when it was written or cancelled;
  // false with Message when the file could not be written.
  using DrawFile = std::function<SheetPdfOutcome(platform::OutputFile& out, const PdfPaper& paper)>;
  bool WriteFile(const DrawFile& draw);

  // The painter of the first page, and after NewPage of the next one.
  QPainter& Painter() { return painter_; }

  // Starts the next page; false when the printer cannot (Finish reports it).
  bool NewPage();

  // The user stopped the job: what was drawn is thrown away, and Finish
  // reports nothing.
  void Cancel();

  // Ends the job: true when it was printed (or cancelled), false with
  // Message when it failed.
  bool Finish();

  // Why the job failed, naming the printer or the file.
  const QString& Message() const { return message_; }

  // The printer's name or the file written (as DisplayPath shows it), as
  // Message names them.
  QString Where() const;

 private:
  bool Fail(const QString& what, const QString& reason = {});

  QPrinter& printer_;
  QString file_;  // the PDF file the printer writes; empty for a printer
  std::optional<platform::OutputFile> output_;
  std::unique_ptr<OutputFileDevice> device_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  bool begun_ = false;
  bool failed_ = false;
  bool cancelled_ = false;
  bool finished_ = false;
  QString message_;
};

}  // namespace preview
