// The program's modules, found and loaded on first use: the ones built with
// the programs, and what is said when one is missing or is no module.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/Export.h"
#include "exchange/Workbook.h"
#include "platform/Module.h"
#include "test_module_mapped.h"

namespace {

namespace fs = std::filesystem;

struct ModuleCase {
  const char* Name;
  const char* Module;
  const char* Symbol;
  bool Found;
  const char* Why;  // a part of the reason when not found
};

std::ostream& operator<<(std::ostream& os, const ModuleCase& c) { return os << c.Name; }

class ModuleSymbolTest : public ::testing::TestWithParam<ModuleCase> {};

// The suite runs with GRADESHEET_MODULE_DIR naming the build's modules.
TEST_P(ModuleSymbolTest, FindsTheBuiltModulesAndSaysWhyNot) {
  const ModuleCase& c = GetParam();
  std::string why;
  void* entry = platform::ModuleSymbol(c.Module, c.Symbol, why);
  EXPECT_EQ(entry != nullptr, c.Found) << why;
  if (!c.Found) {
    EXPECT_NE(why.find(c.Why), std::string::npos) << why;
  }
  // Asked again, the loaded module answers the same.
  std::string again;
  EXPECT_EQ(platform::ModuleSymbol(c.Module, c.Symbol, again), entry);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, ModuleSymbolTest,
    ::testing::Values(ModuleCase{"workbook_writer", exchange::kWorkbookModule, exchange::kWriteWorkbookSymbol, true, ""},
                      ModuleCase{"no_such_module", "gradesheet-none", "x", false, "libgradesheet-none.so: not found"},
                      ModuleCase{"no_such_entry", exchange::kWorkbookModule, "gradesheet_none", false,
                                 "gradesheet-xlsx: no gradesheet_none"}),
    [](const auto& info) { return std::string(info.param.Name); });

class ModuleFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("gs_modules_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    ::setenv("GRADESHEET_MODULE_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ModuleFolderTest, AFileThatIsNoModuleIsRefusedWithTheLoadersWords) {
  std::ofstream(dir_ / "libgradesheet-broken.so") << "not a shared library";
  std::string why;
  EXPECT_EQ(platform::ModuleSymbol("gradesheet-broken", "x", why), nullptr);
  EXPECT_NE(why.find("libgradesheet-broken.so"), std::string::npos) << why;
}

// Here the test program's own folder holds no module either.
TEST_F(ModuleFolderTest, AnExportWithoutItsModuleFailsAndWritesNothing) {
  if (testmodules::Mapped(exchange::kWorkbookModule)) GTEST_SKIP() << "the module is loaded in this process already: run the test alone, as ctest does";
  exchange::ExportCourse course;
  course.Key = "01";
  course.Name = "x";
  const fs::path target = dir_ / "out.xlsx";
  const exchange::ExportResult r = exchange::WriteXlsxExport(target.string(), {course});
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message, target.string() + "：导出失败，无法载入 Excel 导出组件(libgradesheet-xlsx.so: not found)");
  EXPECT_FALSE(fs::exists(target));
}

}  // namespace
