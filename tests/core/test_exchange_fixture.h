#pragma once
// What the import and export tests share: the book builders of the sheet
// tests and a scratch folder per test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exchange/Export.h"
#include "exchange/Import.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "test_sheet_fixture.h"

namespace exchange_test {

namespace fs = std::filesystem;
using sheet_test::Head;
using sheet_test::Record;

class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A parameterised test's name holds a '/': one folder, not two, so that
    // TearDown leaves nothing behind.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::temp_directory_path() / ("exchange_test_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir_;
};

}  // namespace exchange_test
