// The window's open as the file grows: loading it, the course list, the
// first course in the student grid and the sheet's layout, over the sizes of
// bench_growth (2,500 to 20,000 courses of 40 students, one course of 50,000
// to 200,000). Each doubling should cost about twice the time: bench/growth.sh
// prints the factors.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "bench/BenchDialogs.h"
#include "bench/GrowthBooks.h"
#include "bench/WindowBenchMain.h"

namespace {

void BM_OpenInWindow(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath("grown.txt");
  {
    const std::string bytes = growth::BookOf(state).Serialize();
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
      state.SkipWithError("the file could not be written");
      return;
    }
  }
  MainWindow window(std::make_unique<BenchDialogs>(file), dir.path() + "/");
  window.resize(1280, 960);
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    window.openFile();
    QApplication::processEvents();
  }
  state.counters["records"] = static_cast<double>(window.document().Book().GradeLines.size());
}
BENCHMARK(BM_OpenInWindow)->Apply(growth::Families);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
