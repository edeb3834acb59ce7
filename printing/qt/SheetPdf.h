#pragma once
// The grade sheet as a PDF, drawn by the sheet printer as it prints on paper
// (device 0, scale 1). What is the same on every page (labels, rules, the
// table's frame and headings) is drawn once and kept once in the file as a
// form under every page; the pages themselves are drawn in parallel ranges,
// each by Qt into a PDF of its own, and joined by qpdf. The direct way (Qt
// draws every page whole into one document) stays as the reference that the
// joined file is compared with.
#include <QPageLayout>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/Files.h"
#include "printing/CourseChoice.h"
#include "printing/PrintSettings.h"
#include "printing/GradeSheetPrinter.h"

class GradeBook;

constexpr int kPdfDpi = 600;

// What the sheet printer reads; the lists are laid out already and only read.
struct SheetSource {
  const GradeBook& Book;
  const PrintSetup& Setup;  // the printer entry's metrics are the PDF's
  SheetKind Kind = SheetKind::WholeCourse;
  TPageList& Pages;
  TRowList& Rows;
};

// The PDF's pages.
struct PdfPaper {
  int Resolution = kPdfDpi;
  QPageLayout Layout;  // the page and its printable area
  QString Title;
  QString Creator;
  int RuleWidth = 0;  // the rules' pen in device pixels; 0: the painter's own
};

// A4 at 600 dpi without margins, titled with the sheet's name: the batch tool's paper.
PdfPaper SheetPaper();

struct SheetPdfOptions {
  // Threads drawing pages, at most 8 and one per page: 0 one per processor,
  // fewer for a short sheet (a thread costs a font set-up and a copy of
  // the font in the file), and a sheet of a few pages drawn directly.
  int Threads = 0;
  bool Direct = false;  // every page whole into one document, on this thread
  int PartPages = 0;    // pages per part; 0: SheetPdfPartPages
  // Called on this thread, now and then while pages are drawn, with the
  // number of pages done; false stops the job (which is then Cancelled).
  std::function<bool(int pagesDone)> Progress;
};

enum class SheetPdfOutcome { Written, Cancelled, Failed };

// Writes pages first..last (from 1, within the laid-out sheet, first <=
// last) into `out` without committing it: Written when all of it is in
// `out`; Failed when a write failed (`out` keeps the reason) or the drawing
// did (then `out` is marked failed). Needs a QGuiApplication.
SheetPdfOutcome DrawSheetPdf(const SheetSource& source, const PdfPaper& paper, std::int32_t first,
                             std::int32_t last, platform::OutputFile& out, const SheetPdfOptions& options = {});

// Pages first..last (from 1) of one laid-out sheet.
struct SheetSpan {
  SheetSource Source;
  std::int32_t First = 1;
  std::int32_t Last = 0;
};

// Like DrawSheetPdf, for the sheets of several books one after the other
// in one document (each span's pages in its order, every span non-empty).
SheetPdfOutcome DrawSheetsPdf(std::span<const SheetSpan> spans, const PdfPaper& paper, platform::OutputFile& out,
                              const SheetPdfOptions& options = {});

// The number of threads DrawSheetPdf uses for `pages` pages.
int SheetPdfThreads(int requested, std::int32_t pages);

// The pages of each part (the last may have fewer) that `threads` threads
// draw: one part a thread, as every part costs its own copy of the font's
// subset in the file and its own reading by the join. (More, smaller parts
// let the join start sooner but were slower on two cores.)
std::int32_t SheetPdfPartPages(int threads, std::int32_t pages);

struct SheetPdfResult {
  bool Ok = true;
  enum Failure { None, NoPageInRange, WriteFailed } Why = None;
  platform::FileStatus Status;  // WriteFailed: why the file could not be written
  std::int32_t PageCount = 0;   // pages of the whole sheet
  std::int32_t PagesWritten = 0;
};

// Writes pages firstPage..lastPage (from 1; lastPage is cut to the sheet's
// page count) of the sheet on SheetPaper() to the file named by the bytes
// `path`, through the safe writer: the file appears, or replaces the old
// one, only when the whole PDF is on the disk; on any failure nothing is
// left behind. `setup` brings the fonts and the printer margins in pixels
// at 600 dpi; its metrics are measured and derived here. Needs a
// QGuiApplication. Fails, writing nothing, when the range holds no page.
SheetPdfResult WriteSheetPdf(const std::string& path, const GradeBook& book, PrintSetup& setup,
                             SheetKind kind, std::int32_t firstPage, std::int32_t lastPage,
                             const SheetPdfOptions& options = {});

// Like WriteSheetPdf, for the sheets of several books one after the other
// in one PDF, each laid out for the chosen courses; the range and the page
// count speak of all their pages together. A book without a chosen course
// adds no page.
SheetPdfResult WriteSheetsPdf(const std::string& path, std::span<const GradeBook* const> books, PrintSetup& setup,
                              SheetKind kind, const CourseChoice& choice, std::int32_t firstPage,
                              std::int32_t lastPage, const SheetPdfOptions& options = {});
