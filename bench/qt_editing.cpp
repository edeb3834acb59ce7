// The editing view's costs on the offscreen platform, on a large file
// (2,000 courses; the first holds `kBig` students, the others 50 each):
// opening it (load, course list, first course, sheet layout), showing a
// course in the student grid, and one keystroke in the grade editor written
// through to the cell, the total and the record of the last student; one
// keystroke in the share field, which checks every total of the big course
// against the new share (marks and the bar over the grid).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "bench/BenchDialogs.h"
#include "bench/WindowBenchMain.h"
#include "text/Gbk.h"

namespace {

constexpr int kCourses = 2000;
constexpr int kPerCourse = 50;
constexpr int kBig = 2000;

std::string Pad(std::string s, std::size_t width) {
  s.resize(width, ' ');
  return s;
}

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

QString BigFile() {
  static const QString path = [] {
    const std::string name = Gbk("高等数学"), teacher = Gbk("陈建华"), klass = Gbk("计科2301");
    const std::string student = Gbk("王小明");
    std::string out = GradeTexts::MagicLine() + "\r\n";
    for (int c = 0; c < kCourses; ++c) {
      char key[6];
      std::snprintf(key, sizeof key, "%05d", c);
      out += std::string(key) + "tk" + name + "\r\n";
      out += std::string(key) + "tj" + teacher + "\r\n";
      out += std::string(key) + "t930\r\n";
      const int students = c == 0 ? kBig : kPerCourse;
      for (int s = 0; s < students; ++s) {
        out += std::string(key) + "cj" + Pad(std::to_string(2023000000 + s), 10) +
               Pad(student, 8) + Pad(klass, 8) + Pad("85", 6) + Pad("77", 6) + Pad(" 79", 6) +
               Pad("", 6) + "\r\n";
      }
    }
    const QString file = Dir().filePath("big.txt");
    QFile f(file);
    if (f.open(QIODevice::WriteOnly)) f.write(out.data(), static_cast<qint64>(out.size()));
    return file;
  }();
  return path;
}

MainWindow& Window() {
  static std::unique_ptr<MainWindow> window = [] {
    auto w = std::make_unique<MainWindow>(std::make_unique<BenchDialogs>(BigFile()),
                                        Dir().path() + "/");
    w->resize(1280, 960);
    w->show();
    w->openFile();
    QApplication::processEvents();
    return w;
  }();
  return *window;
}

void BM_OpenLargeFile(benchmark::State& state) {
  MainWindow& w = Window();
  for (auto _ : state) w.openFile();
  state.counters["records"] = static_cast<double>(w.document().Book().GradeLines.size());
}
BENCHMARK(BM_OpenLargeFile)->Unit(benchmark::kMillisecond);

// Row 1 of the course list is the big course, row 2 one of 50.
void BM_ShowCourse(benchmark::State& state) {
  MainWindow& w = Window();
  const std::string key = w.document().Book().CourseKeys[state.range(0) ? 0 : 1];
  for (auto _ : state) w.ShowCourse(key);
  state.counters["rows"] = w.studentGrid()->LastRow();
}
BENCHMARK(BM_ShowCourse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Keystroke(benchmark::State& state) {
  MainWindow& w = Window();
  w.courseList()->ChooseRow(1);
  const int last = w.studentGrid()->LastRow();
  w.studentGrid()->setCurrentCell(last, 5);
  bool odd = false;
  for (auto _ : state) {
    w.gradeEditor()->setEditText(odd ? QStringLiteral("85") : QStringLiteral("86"));
    odd = !odd;
  }
  state.counters["students"] = last;
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// Every total disagrees with 40 and agrees with 30 again: the worst case of
// the marks, each keystroke changes all of them.
void BM_ShareKeystroke(benchmark::State& state) {
  MainWindow& w = Window();
  w.courseList()->ChooseRow(1);
  bool odd = false;
  for (auto _ : state) {
    w.shareEdit()->setText(odd ? QStringLiteral("30") : QStringLiteral("40"));
    w.changeShare();
    odd = !odd;
  }
  state.counters["students"] = w.studentGrid()->LastRow();
}
BENCHMARK(BM_ShareKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
