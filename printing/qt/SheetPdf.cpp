#include "printing/qt/SheetPdf.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>

#include "gradefile/Gbk.h"
#include "gradefile/GradeBook.h"
#include "printing/TdjxscjPrn.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/PainterCanvas.h"

namespace {
// A rule of 3 dots at 600 dpi is about 0.13 mm: the thin line of a printed form.
constexpr int kRulePixels = 3;

std::string PathBytes(const QString& path) {
  return Utf8ToGbk(path.toStdString()).value_or(path.toStdString());
}
}  // namespace

SheetPdfResult WriteSheetPdf(const QString& path, const GradeBook& book, PrintSetup& setup,
                             std::uint8_t sheetMode, int firstPage, int lastPage) {
  SheetPdfResult result;
  TPageList pages;
  TRowList rows;
  TdjxscjPrn printer(book, setup, sheetMode, pages, rows);
  printer.MakePages();
  result.PageCount = printer.FPageCount;
  // DrawPage numbers pages in 16 bits.
  lastPage = std::min({lastPage, printer.FPageCount, 65535});
  if (firstPage < 1 || firstPage > lastPage) {
    result.Ok = false;
    result.Why = SheetPdfResult::NoPageInRange;
    result.Message = Gbk("没有可打印的页");
    return result;
  }

  QPdfWriter writer(path);
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

  QPainter painter;
  if (!painter.begin(&writer)) {
    result.Ok = false;
    result.Why = SheetPdfResult::WriteFailed;
    result.Message = PathBytes(path) + Gbk(" 无法写入");
    return result;
  }
  painter.setPen(QPen(Qt::black, kRulePixels));
  PainterCanvas canvas(painter, kPdfDpi);
  for (int page = firstPage; page <= lastPage; ++page) {
    if (page > firstPage) writer.newPage();
    printer.DrawPage(canvas, static_cast<std::uint16_t>(page), DevicePrinter, 1.0);
    ++result.PagesWritten;
  }
  if (!painter.end() || !QFile::exists(path)) {
    result.Ok = false;
    result.Why = SheetPdfResult::WriteFailed;
    result.Message = PathBytes(path) + Gbk(" 无法写入");
  }
  return result;
}
