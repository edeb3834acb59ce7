// The window's import of a marking system's CSV file of 10,000 rows into a
// course of 10,000 students, on the offscreen platform: the whole command
// (read and judge every row, the preview answered at once, apply, one step
// to undo, the grid shown again), and the real preview dialog made and
// painted with its 10,000 changed rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/ImportDialog.h"
#include "app/MainWindow.h"
#include "bench/BenchDialogs.h"
#include "bench/WindowBenchMain.h"
#include "exchange/ImportSession.h"
#include "text/Gbk.h"

namespace {

constexpr int kStudents = 10000;

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

QString Write(const QString& name, const std::string& bytes) {
  const QString path = Dir().filePath(name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return path;
}

std::string Pad(std::string s, std::size_t width) {
  s.resize(width, ' ');
  return s;
}

QString GradeFile() {
  const std::string name = Gbk("王小明"), klass = Gbk("计科2301");
  std::string out = GradeTexts::MagicLine() + "\r\n00001tk" + Gbk("高等数学") + "\r\n00001t930\r\n";
  for (int s = 0; s < kStudents; ++s)
    out += "00001cj" + Pad(std::to_string(2023000000 + s), 10) + Pad(name, 8) + Pad(klass, 8) +
           Pad("85", 6) + Pad("77", 6) + Pad(" 79", 6) + Pad("", 6) + "\r\n";
  return Write("grades.txt", out);
}

// Every student's examination score, `exam` or one more for every other row.
QString ScoresFile(const QString& name, int exam) {
  std::string out = "学号,姓名,考试成绩\n";
  for (int s = 0; s < kStudents; ++s)
    out += std::to_string(2023000000 + s) + ",王小明," + std::to_string(exam + s % 2) + "\n";
  return Write(name, out);
}

// Opens the grade file, answers the CSV file's name and takes the preview.
class ImportDialogs : public BenchDialogs {
 public:
  using BenchDialogs::BenchDialogs;
  QString Csv;
  std::optional<QString> OpenFileOfType(QWidget*, const QString&, const QStringList&) override { return Csv; }
  std::optional<exchange::ScoreColumns> ImportPreview(QWidget*, const ImportOffer& offer) override {
    return offer.Session->Columns();
  }
};

void BM_ImportCommand(benchmark::State& state) {
  auto owned = std::make_unique<ImportDialogs>(GradeFile());
  ImportDialogs& dialogs = *owned;
  MainWindow w(std::move(owned), Dir().path() + "/");
  w.resize(1280, 960);
  w.show();
  w.openFile();
  const QString scores[2] = {ScoresFile("a.csv", 60), ScoresFile("b.csv", 90)};
  int round = 0;
  for (auto _ : state) {
    dialogs.Csv = scores[round++ % 2];  // each import changes every record
    w.gradeExchange().importScores();
    QApplication::processEvents();
  }
  state.counters["records"] = static_cast<double>(w.document().Book().GradeLines.size());
}
BENCHMARK(BM_ImportCommand)->Unit(benchmark::kMillisecond);

void BM_PreviewDialog(benchmark::State& state) {
  GradeBook book;
  book.Load(GradeFile().toStdString());
  book.BuildCourseList();
  exchange::ImportSession session(book, book.CourseKeys.front(), ScoresFile("c.csv", 60).toStdString());
  session.Start();
  for (auto _ : state) {
    ImportDialog dialog({QStringLiteral("c.csv"), QStringLiteral("高等数学"), &session}, nullptr);
    dialog.show();
    QApplication::processEvents();
  }
  state.counters["changed"] = static_cast<double>(session.Preview().ChangedCount());
}
BENCHMARK(BM_PreviewDialog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }
