#include "printing/qt/SheetPdf.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "gradefile/GradeBook.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/OutputFileDevice.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/PdfJoin.h"
#include "printing/qt/QtText.h"
#include "text/Gbk.h"

namespace {

// A rule of 3 dots at 600 dpi is about 0.13 mm: the thin line of a printed form.
constexpr int kRulePixels = 3;
constexpr int kMaxThreads = 8;
// Every part brings its own copy of the font's subset (some 50 KB), the form
// saves some 1.4 KB a page: a part of fewer pages would make the file larger.
constexpr std::int32_t kPagesPerThread = 48;
// Below this, one document drawn directly is smaller than form and part.
constexpr std::int32_t kJoinFrom = 8;
// Room for a page of the sheet in a part, so that its buffer seldom grows.
constexpr qsizetype kBytesPerPage = 8 * 1024;
constexpr auto kProgressEvery = std::chrono::milliseconds(40);

const platform::FileStatus kBroken{platform::FileError::Other, EIO};

void SetUpWriter(QPdfWriter& writer, const PdfPaper& paper) {
  writer.setResolution(paper.Resolution);
  writer.setPageLayout(paper.Layout);
  writer.setTitle(paper.Title);
  writer.setCreator(paper.Creator);
}

// Stops the drawing when the user cancels or another part failed.
struct JobState {
  std::atomic<int> PagesDone{0};
  std::atomic<bool> Stop{false};
};

// Draws the page's own parts of pages first..last with a painter on
// `device`, after a page of the form alone when `formFirst`.
bool DrawPages(const SheetSource& source, const PdfPaper& paper, bool formFirst, std::int32_t first,
               std::int32_t last, QIODevice& device, JobState& state) {
  QPdfWriter writer(&device);
  SetUpWriter(writer, paper);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  if (paper.RuleWidth > 0) painter.setPen(QPen(Qt::black, paper.RuleWidth));
  PainterCanvas canvas(painter, source.Setup.Metrics[DevicePrinter].Dpi);
  canvas.SetGathering(true);
  GradeSheetPrinter printer(source.Book, source.Setup, source.Kind, source.Pages, source.Rows);
  if (formFirst) {
    printer.DrawForm(canvas, DevicePrinter, 1.0);
    canvas.Flush();
  }
  printer.SetFormApart(true);
  printer.IndexHeads();
  for (std::int32_t page = first; page <= last; ++page) {
    if (state.Stop.load(std::memory_order_relaxed)) break;
    if ((page > first || formFirst) && !writer.newPage()) {
      painter.end();
      return false;
    }
    printer.DrawPage(canvas, page, DevicePrinter, 1.0);
    canvas.Flush();
    state.PagesDone.fetch_add(1, std::memory_order_relaxed);
  }
  return painter.end();
}

SheetPdfOutcome DrawDirect(std::span<const SheetSpan> spans, const PdfPaper& paper, platform::OutputFile& out,
                           const SheetPdfOptions& options) {
  // A full disk shows in the device at the write that fails; the output
  // file keeps the reason.
  OutputFileDevice device(out);
  bool cancelled = false;
  bool drawn = true;
  {
    // One page at a time, asking after each whether to go on.
    QPdfWriter writer(&device);
    SetUpWriter(writer, paper);
    QPainter painter;
    if (!painter.begin(&writer)) {
      out.Fail(kBroken);
      return SheetPdfOutcome::Failed;
    }
    if (paper.RuleWidth > 0) painter.setPen(QPen(Qt::black, paper.RuleWidth));
    int done = 0;
    for (const SheetSpan& span : spans) {
      const SheetSource& source = span.Source;
      PainterCanvas canvas(painter, source.Setup.Metrics[DevicePrinter].Dpi);
      GradeSheetPrinter printer(source.Book, source.Setup, source.Kind, source.Pages, source.Rows);
      printer.IndexHeads();
      for (std::int32_t page = span.First; page <= span.Last && drawn && !cancelled && !device.Failed(); ++page) {
        cancelled = options.Progress && !options.Progress(done);
        if (cancelled) break;
        if (done > 0 && !writer.newPage()) {
          drawn = false;
          break;
        }
        printer.DrawPage(canvas, page, DevicePrinter, 1.0);
        ++done;
      }
    }
    // Ended either way; a page that could not begin already failed the drawing.
    drawn = painter.end() && drawn;
  }
  if (cancelled) return SheetPdfOutcome::Cancelled;
  if (!device.Flush()) return SheetPdfOutcome::Failed;
  if (!drawn) {
    out.Fail(kBroken);
    return SheetPdfOutcome::Failed;
  }
  return SheetPdfOutcome::Written;
}

}  // namespace

PdfPaper SheetPaper() {
  PdfPaper paper;
  paper.Resolution = kPdfDpi;
  // The sheet's own margins are drawn by the sheet; the PDF page has none.
  paper.Layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
  paper.Title = GbkToQString(Gbk("学生考试(考查)成绩表"));
  paper.Creator = QStringLiteral("gradesheet");
  paper.RuleWidth = kRulePixels;
  return paper;
}

std::int32_t SheetPdfPartPages(int threads, std::int32_t pages) {
  const std::int32_t parts = std::max(threads, 1);
  return std::max<std::int32_t>(1, (pages + parts - 1) / parts);
}

int SheetPdfThreads(int requested, std::int32_t pages) {
  const std::int32_t most = std::clamp<std::int32_t>(pages, 1, kMaxThreads);
  if (requested > 0) return static_cast<int>(std::min<std::int32_t>(requested, most));
  const auto cores = static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  const std::int32_t worth = std::max<std::int32_t>(1, pages / kPagesPerThread);
  return static_cast<int>(std::min({cores, worth, most}));
}

SheetPdfOutcome DrawSheetPdf(const SheetSource& source, const PdfPaper& paper, std::int32_t first,
                             std::int32_t last, platform::OutputFile& out, const SheetPdfOptions& options) {
  const SheetSpan span{source, first, last};
  return DrawSheetsPdf({&span, 1}, paper, out, options);
}

SheetPdfOutcome DrawSheetsPdf(std::span<const SheetSpan> spans, const PdfPaper& paper, platform::OutputFile& out,
                              const SheetPdfOptions& options) {
  std::int32_t pages = 0;
  for (const SheetSpan& span : spans) pages += span.Last - span.First + 1;
  const bool shortSheet = options.Threads == 0 && pages < kJoinFrom;
  if (options.Direct || shortSheet) return DrawDirect(spans, paper, out, options);
  // Without the join (an installation missing its module) the sheet is
  // still written, whole by one thread.
  std::string why;
  const PdfJoinModule* join = PdfJoinEntries(why);
  if (join == nullptr) return DrawDirect(spans, paper, out, options);

  if (options.Progress && !options.Progress(0)) return SheetPdfOutcome::Cancelled;
  const int threads = SheetPdfThreads(options.Threads, pages);
  const std::int32_t partPages =
      options.PartPages > 0 ? std::min(options.PartPages, pages) : SheetPdfPartPages(threads, pages);
  // The ranges of pages in order; the first begins with a page of the form,
  // which so shares its font. The threads take the next part when done with
  // one; this thread joins each part as soon as it is drawn.
  struct Part {
    const SheetSource* Source = nullptr;
    std::int32_t From = 0, To = 0;
    QByteArray Bytes;
    std::unique_ptr<PdfPart> Read;  // parsed on the drawing thread
    bool Done = false;
    bool Drawn = false;
  };
  // A part holds pages of one book's sheet only.
  std::vector<Part> parts;
  for (const SheetSpan& span : spans) {
    for (std::int32_t from = span.First; from <= span.Last; from += partPages) {
      parts.emplace_back();
      parts.back().Source = &span.Source;
      parts.back().From = from;
      parts.back().To = std::min(span.Last, from + partPages - 1);
    }
  }
  JobState state;
  std::atomic<std::size_t> nextPart{0};
  std::mutex mutex;
  std::condition_variable finished;
  int running = threads;

  std::vector<std::thread> workers;
  workers.reserve(static_cast<std::size_t>(threads));
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (std::size_t i = nextPart++; i < parts.size() && !state.Stop; i = nextPart++) {
        Part& part = parts[i];
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(part.To - part.From + 2) * kBytesPerPage);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const bool drawn = DrawPages(*part.Source, paper, i == 0, part.From, part.To, buffer, state);
        std::string unread;  // for the developer
        std::unique_ptr<PdfPart> read;
        if (drawn && !state.Stop) read = join->ReadPart({bytes.constData(), static_cast<std::size_t>(bytes.size())}, unread);
        // A part qpdf cannot read is a failed drawing; one skipped as the job stops is not.
        const bool ok = drawn && (read || state.Stop);
        if (!ok) state.Stop = true;
        std::lock_guard lock(mutex);
        part.Bytes = std::move(bytes);  // the same bytes, which the part read reads from
        part.Read = std::move(read);
        part.Drawn = ok;
        part.Done = true;
        finished.notify_all();
      }
      std::lock_guard lock(mutex);
      --running;
      finished.notify_all();
    });
  }
  // True when part i is drawn whole; false when the job stopped before.
  auto awaitPart = [&](std::size_t i) {
    std::unique_lock lock(mutex);
    while (!parts[i].Done && running > 0) {
      finished.wait_for(lock, kProgressEvery);
      if (!options.Progress) continue;
      lock.unlock();
      if (!options.Progress(state.PagesDone.load(std::memory_order_relaxed))) state.Stop = true;
      lock.lock();
    }
    return parts[i].Done && parts[i].Drawn && !state.Stop;
  };
  const std::unique_ptr<PdfJoiner> joiner = join->NewJoiner(true);
  bool joined = true;
  for (std::size_t i = 0; i < parts.size() && joined && awaitPart(i); ++i) {
    joined = parts[i].Read && joiner->Add(std::move(parts[i].Read), why);
    if (!joined) state.Stop = true;
  }
  for (std::thread& worker : workers) worker.join();

  const bool drawFailed = std::any_of(parts.begin(), parts.end(), [](const Part& p) { return p.Done && !p.Drawn; });
  if (!joined || drawFailed) {
    out.Fail(kBroken);
    return SheetPdfOutcome::Failed;
  }
  // A part stopped half-way is drawn as far as it went: the job is cancelled.
  if (state.Stop || state.PagesDone.load() < pages) return SheetPdfOutcome::Cancelled;
  if (!joiner->Write([&out](std::string_view block) { return out.Write(block); }, why)) {
    out.Fail(kBroken);  // kept only when no write failed before
    return SheetPdfOutcome::Failed;
  }
  return SheetPdfOutcome::Written;
}

SheetPdfResult WriteSheetPdf(const std::string& path, const GradeBook& book, PrintSetup& setup,
                             SheetKind kind, std::int32_t firstPage, std::int32_t lastPage,
                             const SheetPdfOptions& options) {
  const GradeBook* books[] = {&book};
  return WriteSheetsPdf(path, books, setup, kind, CourseChoice::All(), firstPage, lastPage, options);
}

SheetPdfResult WriteSheetsPdf(const std::string& path, std::span<const GradeBook* const> books, PrintSetup& setup,
                              SheetKind kind, const CourseChoice& choice, std::int32_t firstPage,
                              std::int32_t lastPage, const SheetPdfOptions& options) {
  SheetPdfResult result;
  // Every book's sheet laid out into lists of its own, which the spans
  // below point at: sized once, never moved.
  std::vector<TPageList> pageLists(books.size());
  std::vector<TRowList> rowLists(books.size());
  std::vector<std::int32_t> counts(books.size());
  for (std::size_t b = 0; b < books.size(); ++b) {
    GradeSheetPrinter printer(*books[b], setup, kind, pageLists[b], rowLists[b]);
    printer.ChooseCourses(choice);
    printer.MakePages();
    counts[b] = printer.FPageCount;
    result.PageCount += printer.FPageCount;
  }
  lastPage = std::min(lastPage, result.PageCount);
  if (firstPage < 1 || firstPage > lastPage) {
    result.Ok = false;
    result.Why = SheetPdfResult::NoPageInRange;
    return result;
  }
  auto fail = [&](const platform::FileStatus& status) {
    result.Ok = false;
    result.Why = SheetPdfResult::WriteFailed;
    result.Status = status;
    return result;
  };

  const PdfPaper paper = SheetPaper();
  {
    // The page and the body font as the PDF's pages measure them.
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nowhere);
    SetUpWriter(writer, paper);
    setup.Metrics[DevicePrinter].Dpi = paper.Resolution;
    setup.Metrics[DeviceScreen].Dpi = paper.Resolution;
    const TextExtent digits = MeasureDigits(writer, setup.BodyFont, paper.Resolution);
    DeviceMeasurement measured;
    measured.PrinterPageWidth = writer.width();
    measured.PrinterPageHeight = writer.height();
    measured.PrinterTextWidth = digits.Width;
    measured.PrinterTextHeight = digits.Height;
    measured.ScreenTextWidth = digits.Width;
    measured.ScreenTextHeight = digits.Height;
    DerivePageMetrics(setup.Metrics, measured);
  }
  // The range counts the pages of all books one after the other.
  std::vector<SheetSpan> spans;
  std::int32_t before = 0;
  for (std::size_t b = 0; b < books.size(); ++b) {
    const std::int32_t first = std::max(firstPage - before, 1);
    const std::int32_t last = std::min(lastPage - before, counts[b]);
    if (first <= last) spans.push_back({{*books[b], setup, kind, pageLists[b], rowLists[b]}, first, last});
    before += counts[b];
  }

  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(path, result.Status);
  if (!out) return fail(result.Status);
  const SheetPdfOutcome outcome = DrawSheetsPdf(spans, paper, *out, options);
  if (outcome != SheetPdfOutcome::Written) out->Fail(kBroken);
  const platform::FileStatus committed = out->Commit();
  if (!committed.Ok()) return fail(committed);
  result.PagesWritten = lastPage - firstPage + 1;
  return result;
}
