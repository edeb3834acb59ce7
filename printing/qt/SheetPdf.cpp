#include "printing/qt/SheetPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "gradefile/GradeBook.h"
#include "printing/TdjxscjPrn.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/OutputFileDevice.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"
#include "text/Gbk.h"

namespace {
// A rule of 3 dots at 600 dpi is about 0.13 mm: the thin line of a printed form.
constexpr int kRulePixels = 3;
}  // namespace

SheetPdfResult WriteSheetPdf(const std::string& path, const GradeBook& book, PrintSetup& setup,
                             std::uint8_t sheetMode, std::int32_t firstPage, std::int32_t lastPage) {
  SheetPdfResult result;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, sheetMode, pages, rows);
  printer.MakePages();
  result.PageCount = printer.FPageCount;
  lastPage = std::min(lastPage, printer.FPageCount);
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

  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(path, result.Status);
  if (!out) return fail(result.Status);
  // A full disk shows in the device at the write that fails; the output
  // file keeps the reason for its Commit.
  OutputFileDevice device(*out);
  {
    QPdfWriter writer(&device);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QStringLiteral("gradesheet"));
    writer.setTitle(GbkToQString(Gbk("学生考试(考查)成绩表")));
    // The sheet's own margins are drawn by the sheet; the PDF page has none.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));

    TDeviceMetrics& paper = setup.Metrics[DevicePrinter];
    paper.Dpi = kPdfDpi;
    setup.Metrics[DeviceScreen].Dpi = kPdfDpi;
    const TextExtent digits = MeasureDigits(writer, setup.BodyFont, kPdfDpi);
    DeviceMeasurement measured;
    measured.PrinterPageWidth = writer.width();
    measured.PrinterPageHeight = writer.height();
    measured.PrinterTextWidth = digits.Width;
    measured.PrinterTextHeight = digits.Height;
    measured.ScreenTextWidth = digits.Width;
    measured.ScreenTextHeight = digits.Height;
    DerivePageMetrics(setup.Metrics, measured);

    const platform::FileStatus broken{platform::FileError::Other, EIO};
    QPainter painter;
    if (!painter.begin(&writer)) {
      out->Fail(broken);
      return fail(out->Commit());
    }
    painter.setPen(QPen(Qt::black, kRulePixels));
    PainterCanvas canvas(painter, kPdfDpi);
    // A full disk ends the run at the page where it shows.
    for (std::int32_t page = firstPage; page <= lastPage && !device.Failed(); ++page) {
      if (page > firstPage && !writer.newPage()) {
        out->Fail(broken);
        break;
      }
      printer.DrawPage(canvas, page, DevicePrinter, 1.0);
      ++result.PagesWritten;
    }
    const bool ended = painter.end();
    if (device.Flush() && !ended) out->Fail(broken);
  }
  const platform::FileStatus committed = out->Commit();
  if (!committed.Ok()) return fail(committed);
  return result;
}
