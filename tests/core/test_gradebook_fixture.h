#pragma once
// Grade files for the grade book tests: records from their fields, lines
// joined into files, and a fresh folder for each test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace gradebook_test {

namespace fs = std::filesystem;

inline std::string G(const char* utf8) { return Gbk(utf8); }

// A 57-byte grade record from its fields (blank-padded), plus what follows.
inline std::string Record(const std::string& key, const std::string& number, const char* name,
                          const char* klass, const char* cw, const char* ex, const char* total,
                          const std::string& further = "EXTRA1", const std::string& tail = "") {
  auto pad = [](std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
  };
  return key + "cj" + pad(number, 10) + pad(G(name), 8) + pad(G(klass), 8) + pad(G(cw), 6) + pad(G(ex), 6) +
         pad(G(total), 6) + pad(further, 6) + tail;
}

inline std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string out;
  for (const auto& l : lines) out += l + end;
  return out;
}

inline std::string Magic() { return GradeTexts::MagicLine(); }

class GradeBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::temp_directory_path() / ("gradebook_test_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Write(const std::string& name, const std::string& bytes) {
    fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  GradeBook Loaded(const std::string& bytes) {
    GradeBook book;
    EXPECT_EQ(book.Load(Write("in.txt", bytes)).Outcome, LoadOutcome::Loaded);
    book.BuildCourseList();
    return book;
  }
  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};


}  // namespace gradebook_test
