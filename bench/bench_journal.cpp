// The recovery journal on a 100,000-record book: what a finished cell edit
// costs the window's thread (the rewrite, the step, its hand-over to the
// journal's writer; under 1 ms), how long until the step is on the disk
// (within 1 s), the base hash a save computes, and replaying a long session.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gradefile/EditHistory.h"
#include "gradefile/JournalWriter.h"
#include "gradefile/RecoveryJournal.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100000;
constexpr int kPerCourse = 50;

GradeBook& BigBook() {
  static GradeBook book = [] {
    std::string file = GradeTexts::MagicLine() + "\r\n";
    char line[96];
    for (int r = 0; r < kRecords; ++r) {
      if (r % kPerCourse == 0) {
        std::snprintf(line, sizeof line, "%05dtkcourse %d\r\n%05dt9  30\r\n", r / kPerCourse, r, r / kPerCourse);
        file += line;
      }
      std::snprintf(line, sizeof line, "%05dcj2023%06dstudent klass   85    90    89          \r\n", r / kPerCourse, r);
      file += line;
    }
    GradeBook loaded;
    if (!loaded.ReadBytes(file)) std::abort();
    loaded.BuildCourseList();
    return loaded;
  }();
  return book;
}

struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("bench_journal_" + std::to_string(::getpid()));
  Scratch() {
    fs::create_directories(dir);
    ::setenv("XDG_STATE_HOME", dir.c_str(), 1);
  }
  ~Scratch() { fs::remove_all(dir); }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

EditStep CellEdit(GradeBook& book, std::size_t i, int value) {
  EditStep step;
  const std::string grade = std::to_string(value % 100);
  step.Add(book.RewriteGrades(i % book.GradeLines.size(), grade, grade, grade));
  return step;
}

// The window's thread: a cell's rewrite, its step, the hand-over.
void BM_CellEditJournalled(benchmark::State& state) {
  TheScratch();
  GradeBook& book = BigBook();
  JournalWriter writer(JournalPathFor("/bench/big.txt"), {"/bench/big.txt", {}, HashOfBook(book)});
  std::size_t i = 0;
  for (auto _ : state) {
    writer.Append(CellEdit(book, i * 7919, static_cast<int>(i)), false);
    ++i;
  }
  // Past the timed loop: the disk's own work is the next benchmark's.
  writer.Flush();
  if (writer.TakeFailure()) state.SkipWithError("journal failed");
  writer.Remove();
}
BENCHMARK(BM_CellEditJournalled)->Unit(benchmark::kMicrosecond);

// From the hand-over until the step is on the disk (fdatasync done).
void BM_CellEditOnDisk(benchmark::State& state) {
  TheScratch();
  GradeBook& book = BigBook();
  JournalWriter writer(JournalPathFor("/bench/big.txt"), {"/bench/big.txt", {}, 1});
  std::size_t i = 0;
  for (auto _ : state) {
    writer.Append(CellEdit(book, i * 7919, static_cast<int>(i)), false);
    writer.Flush();
    ++i;
  }
  writer.Remove();
}
BENCHMARK(BM_CellEditOnDisk)->Unit(benchmark::kMillisecond);

// The base a save leaves: the hash of the bytes it wrote.
void BM_HashOfBook(benchmark::State& state) {
  const GradeBook& book = BigBook();
  for (auto _ : state) benchmark::DoNotOptimize(HashOfBook(book));
}
BENCHMARK(BM_HashOfBook)->Unit(benchmark::kMillisecond);

// A session of 2,000 cell edits read back and replayed onto the base.
void BM_ReplaySession(benchmark::State& state) {
  GradeBook base = BigBook();
  GradeBook edited = base;
  std::uint64_t check = 0;
  std::string journal = EncodeJournalStart({"/bench/big.txt", {}, 1}, check);
  for (int i = 0; i < 2000; ++i)
    journal += EncodeJournalStep({i, false, CellEdit(edited, static_cast<std::size_t>(i) * 7919, i + 1)}, check, check);
  for (auto _ : state) {
    GradeBook book = base;
    const std::optional<JournalContents> read = ReadJournal(journal);
    if (!read || !ReplayJournal(read->Steps, book)) state.SkipWithError("replay failed");
    benchmark::DoNotOptimize(book.GradeLines.data());
  }
}
BENCHMARK(BM_ReplaySession)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
