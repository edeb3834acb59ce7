// The preview's costs on the offscreen platform: one paint of the page
// surface (pageWidget) at zoom 1.0 and at the largest zoom, and a page turn
// (next or previous page: repaint and status) at both zooms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "app/MainWindow.h"
#include "bench/BenchDialogs.h"
#include "bench/WindowBenchMain.h"
#include "preview/PageWidget.h"

namespace {

QString DemoFile() {
  const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path();
  return QString::fromStdString((here.parent_path() / "samples" / "demo.txt").string());
}

// One window for every benchmark: the demo file open in the whole-course sheet.
MainWindow& Window() {
  static QTemporaryDir dir;
  static std::unique_ptr<MainWindow> window = [] {
    auto w = std::make_unique<MainWindow>(std::make_unique<BenchDialogs>(DemoFile()),
                                        dir.path() + "/");
    w->openFile();
    w->resize(1280, 960);
    w->show();
    w->showSheet();
    QApplication::processEvents();
    return w;
  }();
  return *window;
}

void SetZoom(MainWindow& w, bool largest) {
  while (w.sheetPreview().Zoom() > 1.0) w.sheetPreview().zoomOut();
  while (w.sheetPreview().Zoom() < 1.0) w.sheetPreview().zoomIn();
  if (largest)
    while (w.sheetPreview().Zoom() < w.sheetPreview().ZoomMax()) w.sheetPreview().zoomIn();
  QApplication::processEvents();
}

void BM_RepaintPage(benchmark::State& state) {
  MainWindow& w = Window();
  SetZoom(w, state.range(0) != 0);
  if (w.sheetPreview().Page() < 1 || w.sheetPreview().SheetPrinter()->FPageCount < 2) {
    state.SkipWithError("the demo file did not lay out into pages");
    return;
  }
  for (auto _ : state) w.sheetPreview().pageWidget()->repaint();
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_RepaintPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PageTurn(benchmark::State& state) {
  MainWindow& w = Window();
  SetZoom(w, state.range(0) != 0);
  w.sheetPreview().firstPage();
  bool forward = true;
  for (auto _ : state) {
    if (forward) w.sheetPreview().nextPage(); else w.sheetPreview().previousPage();
    forward = !forward;
  }
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_PageTurn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The page drawn whole into an image of its own size (no clipping to the
// visible part), as a full-page export would.
void BM_DrawWholePage(benchmark::State& state) {
  MainWindow& w = Window();
  SetZoom(w, state.range(0) != 0);
  QImage image(w.sheetPreview().pageWidget()->size(), QImage::Format_RGB32);
  for (auto _ : state) w.sheetPreview().pageWidget()->render(&image);
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_DrawWholePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
