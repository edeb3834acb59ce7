// The preview's costs on the offscreen platform: one paint of the page
// surface (DrawGrid1) at zoom 1.0 and at the largest zoom, and a page turn
// (next or previous page: repaint and status) at both zooms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "app/Tdataout.h"
#include "bench/BenchDialogs.h"
#include "bench/WindowBenchMain.h"
#include "preview/TDrawGrid.h"

namespace {

QString DemoFile() {
  const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path();
  return QString::fromStdString((here.parent_path() / "samples" / "demo.txt").string());
}

// One window for every benchmark: the demo file open in the whole-course sheet.
Tdataout& Window() {
  static QTemporaryDir dir;
  static std::unique_ptr<Tdataout> window = [] {
    auto w = std::make_unique<Tdataout>(std::make_unique<BenchDialogs>(DemoFile()),
                                        dir.path() + "/");
    w->O1Click();
    w->resize(1280, 960);
    w->show();
    w->N11Click();
    QApplication::processEvents();
    return w;
  }();
  return *window;
}

void SetZoom(Tdataout& w, bool largest) {
  while (w.Zoom > 1.0) w.SpeedButton5Click();
  while (w.Zoom < 1.0) w.SpeedButton4Click();
  if (largest)
    while (w.Zoom < w.ZoomMax) w.SpeedButton4Click();
  QApplication::processEvents();
}

void BM_RepaintPage(benchmark::State& state) {
  Tdataout& w = Window();
  SetZoom(w, state.range(0) != 0);
  if (w.CurPage < 1 || w.SheetPrinter->FPageCount < 2) {
    state.SkipWithError("the demo file did not lay out into pages");
    return;
  }
  for (auto _ : state) w.DrawGrid1->repaint();
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_RepaintPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PageTurn(benchmark::State& state) {
  Tdataout& w = Window();
  SetZoom(w, state.range(0) != 0);
  w.F3Click();
  bool forward = true;
  for (auto _ : state) {
    if (forward) w.SpeedButton2Click(); else w.SpeedButton1Click();
    forward = !forward;
  }
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_PageTurn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The page drawn whole into an image of its own size (no clipping to the
// visible part), as a full-page export would.
void BM_DrawWholePage(benchmark::State& state) {
  Tdataout& w = Window();
  SetZoom(w, state.range(0) != 0);
  QImage image(w.DrawGrid1->size(), QImage::Format_RGB32);
  for (auto _ : state) w.DrawGrid1->render(&image);
  state.SetLabel(state.range(0) ? "largest zoom" : "zoom 1.0");
}
BENCHMARK(BM_DrawWholePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
