// Load and save of a large grade file (100,000 records in 2,000 courses)
// against a plain read and write of the same bytes; finding a student in it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "text/Gbk.h"
#include "gradefile/FindStudent.h"
#include "gradefile/GradeBook.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCourses = 2000;
constexpr int kPerCourse = 50;

std::string Pad(std::string s, std::size_t width) {
  s.resize(width, ' ');
  return s;
}

// A file in writer order, so a save reproduces it byte for byte.
std::string MakeFile() {
  const std::string magic = GradeTexts::MagicLine();
  const std::string name = Gbk("高等数学"), teacher = Gbk("陈建华"), klass = Gbk("计科2301");
  const std::string student = Gbk("王小明"), dept = Gbk("数学与统计学院");
  std::string out = magic + "\r\n";
  char key[8];
  for (int c = 0; c < kCourses; ++c) {
    std::snprintf(key, sizeof key, "%05d", c);
    for (const std::string& tagged : std::initializer_list<std::string>{"t0" + Gbk("学生考试(考查)成绩表"), "t1" + Gbk("2024-2025年度第一学期"),
                                      "tk" + name, "tl" + Gbk("必修"), std::string("tx4"), std::string("tz4"), "tj" + Pad(teacher, 8),
                                      "td" + dept, std::string("tr50"), "tf" + Gbk("计算机"), "ty" + Gbk("计算机学院"),
                                      "tb" + klass, std::string("t930")}) {
      out += key + tagged + "\r\n";
    }
    for (int s = 0; s < kPerCourse; ++s) {
      char number[16];
      std::snprintf(number, sizeof number, "2023%06d", c * kPerCourse + s);
      out += key + std::string("cj") + Pad(number, 10) + Pad(student, 8) + Pad(klass, 8) + Pad("85", 6) +
             Pad("90", 6) + Pad(" 89", 6) + Pad("", 6) + "\r\n";
    }
  }
  return out;
}

struct Files {
  fs::path dir, source, target;
  std::size_t bytes = 0;
  Files() {
    dir = fs::temp_directory_path() / ("bench_gradebook_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    source = dir / "big.txt";
    target = dir / "out.txt";
    std::string text = MakeFile();
    bytes = text.size();
    std::ofstream(source, std::ios::binary) << text;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  }
  ~Files() { fs::remove_all(dir); }
};

Files& TheFiles() {
  static Files files;
  return files;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(fs::file_size(p)), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

void WriteAll(const fs::path& p, const std::string& bytes, bool sync) {
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  if (sync) ::fsync(fd);
  ::close(fd);
}

// The floor: the same bytes read and written back, nothing parsed.
void BM_PlainCopy(benchmark::State& state) {
  Files& f = TheFiles();
  const bool sync = state.range(0) != 0;
  for (auto _ : state) {
    std::string bytes = ReadAll(f.source);
    WriteAll(f.target, bytes, sync);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}
BENCHMARK(BM_PlainCopy)->Arg(0)->Arg(1)->ArgName("fsync")->Unit(benchmark::kMillisecond);

// What opening and saving costs: load, build the course list and the class
// groups, save atomically (temporary file, fsync, rename).
void BM_LoadSave(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    GradeBook book;
    if (book.Load(f.source).Outcome != LoadOutcome::Loaded) state.SkipWithError("load failed");
    book.BuildCourseList();
    if (!book.Save(f.target).Ok) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(book.ClassGroups.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}
BENCHMARK(BM_LoadSave)->Unit(benchmark::kMillisecond);

// The parts, to see where the time goes.
void BM_Load(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    GradeBook book;
    book.Load(f.source);
    benchmark::DoNotOptimize(book.GradeLines.data());
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_BuildCourseList(benchmark::State& state) {
  GradeBook book;
  book.Load(TheFiles().source);
  for (auto _ : state) {
    book.BuildCourseList();
    benchmark::DoNotOptimize(book.ClassGroups.data());
  }
}
BENCHMARK(BM_BuildCourseList)->Unit(benchmark::kMillisecond);

void BM_Serialize(benchmark::State& state) {
  GradeBook book;
  book.Load(TheFiles().source);
  for (auto _ : state) {
    std::string bytes = book.Serialize();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_Serialize)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  Files& f = TheFiles();
  GradeBook book;
  book.Load(f.source);
  for (auto _ : state) {
    if (!book.Save(f.target).Ok) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// One Enter in the find bar on the large book, a name that is nowhere (the
// whole book searched): the students in list order, then the match. The
// window answers a key within a tenth of a second.
void BM_FindStudent(benchmark::State& state) {
  GradeBook book;
  book.Load(TheFiles().source);
  book.BuildCourseList();
  for (auto _ : state) {
    const std::vector<StudentEntry> students = StudentsInListOrder(book);
    benchmark::DoNotOptimize(FindNextStudent(students, "张三", 0));
  }
}
BENCHMARK(BM_FindStudent)->Unit(benchmark::kMillisecond);

// Sanity: the save reproduces the generated file.
void BM_RoundTripCheck(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    GradeBook book;
    book.Load(f.source);
    book.Save(f.target);
    if (ReadAll(f.target) != ReadAll(f.source)) state.SkipWithError("save changed the file");
  }
}
BENCHMARK(BM_RoundTripCheck)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
