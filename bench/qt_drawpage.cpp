// DrawPage of a full page on the QPainter canvas into a QImage: the
// preview's frame time (it repaints the whole page at every paint).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/PainterCanvas.h"

namespace {

constexpr int kScreenDpi = 96;

// `courses` courses of 45 students with every header tag.
GradeBook MakeBook(int courses) {
  GradeBook book;
  const char* tags[] = {"tk", "tl", "tx", "tz", "tj", "td", "tr", "tf", "ty", "tb", "t9"};
  for (int c = 0; c < courses; ++c) {
    char key[16];
    std::snprintf(key, sizeof key, "%05d", c);
    book.HeadLines.push_back(std::string(key) + "t0" + Gbk("学生考试(考查)成绩表"));
    book.HeadLines.push_back(std::string(key) + "t1" + Gbk("2025-2026学年度第 1 学期"));
    for (const char* tag : tags) book.HeadLines.push_back(std::string(key) + tag + Gbk("软件工程"));
    for (int i = 0; i < 45; ++i) {
      char number[16];
      std::snprintf(number, sizeof number, "2024%06d", i);
      std::string line = std::string(key) + "cj" + number + Gbk("张三丰  ") + Gbk("软件2401") +
                         "85    " + (i % 5 ? "92    " : Gbk("缺考  ")) + " 90   " + "      ";
      book.GradeLines.push_back(line);
    }
  }
  book.BuildCourseList();
  return book;
}

void DrawFullPage(benchmark::State& state, double zoom, int courses) {
  const GradeBook book = MakeBook(courses);
  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = 600;
  setup.Metrics[DeviceScreen].Dpi = kScreenDpi;
  ApplyDefaultPrintSettings(setup);
  QImage probe(8, 8, QImage::Format_RGB32);
  const TextExtent screen = MeasureDigits(probe, setup.BodyFont, kScreenDpi);
  const TextExtent printer = MeasureDigits(probe, setup.BodyFont, 600);
  DerivePageMetrics(setup.Metrics, DeviceMeasurement{4960, 7016, printer.Width, printer.Height,
                                                     screen.Width, screen.Height});
  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter sheet(book, setup, kind, pages, rows);
  sheet.MakePages();
  const TDeviceMetrics& m = setup.Metrics[DeviceScreen];
  QImage image(static_cast<int>(m.PageWidth * zoom), static_cast<int>(m.PageHeight * zoom),
               QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterCanvas canvas(painter, kScreenDpi);
    sheet.DrawPage(canvas, 1, DeviceScreen, zoom);
  }
  state.counters["px"] = static_cast<double>(image.width()) * image.height();
}

// 1.0 and the largest zoom of a 10 pt body font (1.25 to the 4th).
void BM_DrawPageZoom1(benchmark::State& state) { DrawFullPage(state, 1.0, 1); }
void BM_DrawPageZoomMax(benchmark::State& state) { DrawFullPage(state, 2.44140625, 1); }
// The same page in a book of 2,000 courses: the header scans grow with it.
void BM_DrawPageZoom1Book2000(benchmark::State& state) { DrawFullPage(state, 1.0, 2000); }
BENCHMARK(BM_DrawPageZoom1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPageZoomMax)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPageZoom1Book2000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
