#include "printing/qt/SheetPdf.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"
#include "printing/TdjxscjPrn.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"

namespace {
// A rule of 3 dots at 600 dpi is about 0.13 mm: the thin line of a printed form.
constexpr int kRulePixels = 3;

// Why a write of the PDF failed. Qt keeps only its own error kinds; the
// system's error number is still the one of the failed write when asked at
// once, and is trusted only when it is one a write gives.
platform::FileStatus WriteFailure(int code) {
  switch (code) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EIO:
    case EROFS: return platform::StatusOf(code);
    default: return platform::FileStatus{platform::FileError::Other, EIO};
  }
}

// The PDF writer's device: the output file's descriptor, unbuffered, and
// the first write that did not go through whole. QPdfWriter ignores its
// device's failures, and QFile forgets an earlier failure when the writer
// closes it, so each write is looked at as it happens.
class CheckedFile : public QFile {
 public:
  std::optional<platform::FileStatus> Failure;

 protected:
  qint64 writeData(const char* data, qint64 length) override {
    if (Failure) return -1;
    errno = 0;
    const qint64 written = QFile::writeData(data, length);
    if (written != length) Failure = WriteFailure(errno);
    return written;
  }
};
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
  CheckedFile device;
  if (!device.open(out->Descriptor(), QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::DontCloseHandle))
    return fail(platform::FileStatus{platform::FileError::Other, EBADF});
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
      out->Fail(device.Failure.value_or(broken));
      return fail(out->Commit());
    }
    painter.setPen(QPen(Qt::black, kRulePixels));
    PainterCanvas canvas(painter, kPdfDpi);
    // A full disk ends the run at the page where it shows.
    for (std::int32_t page = firstPage; page <= lastPage && !device.Failure; ++page) {
      if (page > firstPage && !writer.newPage()) {
        device.Failure = device.Failure.value_or(broken);
        break;
      }
      printer.DrawPage(canvas, page, DevicePrinter, 1.0);
      ++result.PagesWritten;
    }
    if (!painter.end() && !device.Failure) device.Failure = broken;
  }
  if (device.isOpen()) device.close();
  if (device.Failure) out->Fail(*device.Failure);
  const platform::FileStatus committed = out->Commit();
  if (!committed.Ok()) return fail(committed);
  return result;
}
