// The print settings file "qprtpara.dat": layout, defaults, damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <sys/stat.h>

#include "text/Gbk.h"
#include "printing/PrintSettings.h"
#include "test_child.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  fs::path dir;
  std::string appDir;
  PrintSetup setup;

  void SetUp() override {
    // Parameterised tests have a '/' in their names: one folder, not two.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir = fs::temp_directory_path() /
          ("gs_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    appDir = dir.string() + "/";
    setup.Metrics[DevicePrinter].Dpi = 600;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string FilePath() const { return appDir + "qprtpara.dat"; }
  void WriteFile(const std::string& bytes) {
    std::ofstream(FilePath(), std::ios::binary) << bytes;
  }
  std::string ReadFile() const {
    std::ifstream in(FilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void PutInt(std::string& record, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i) record[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  }
  // A record with distinctive values, written by hand from the layout.
  static std::string HandMadeRecord() {
    std::string r(232, '\0');
    r[0] = 1;
    r[1] = static_cast<char>(134);
    PutInt(r, 4, 12);
    PutInt(r, 8, 18);
    const std::string body = Gbk("黑体"), title = "Arial";
    r[12] = static_cast<char>(body.size());
    r.replace(13, body.size(), body);
    r[113] = static_cast<char>(title.size());
    r.replace(114, title.size(), title);
    r[214] = fsItalic;
    r[215] = fsBold | fsStrikeOut;
    PutInt(r, 216, 100);
    PutInt(r, 220, 50);
    PutInt(r, 224, 200);
    PutInt(r, 228, 25);
    return r;
  }
  void ExpectDefaults() {
    EXPECT_EQ(setup.BodyFont, (FontSpec{1, 10, Gbk("宋体"), 0}));
    EXPECT_EQ(setup.TitleFont, (FontSpec{1, 16, Gbk("宋体"), fsBold | fsUnderline}));
    const TDeviceMetrics& p = setup.Metrics[DevicePrinter];
    EXPECT_EQ(p.MarginLeft, 197);
    EXPECT_EQ(p.MarginRight, 0);
    EXPECT_EQ(p.MarginTop, 394);
    EXPECT_EQ(p.MarginBottom, 0);
  }
};

TEST_F(SettingsFile, MissingFileGivesTheDefaultsAt600Dpi) {
  LoadPrintSettings(appDir, setup);
  ExpectDefaults();
}

TEST_F(SettingsFile, ShortFileGivesTheDefaults) {
  WriteFile(HandMadeRecord().substr(0, 231));
  LoadPrintSettings(appDir, setup);
  ExpectDefaults();
}

TEST_F(SettingsFile, RecordIsReadFieldByFieldAndTrailingRecordsAreIgnored) {
  std::string second = HandMadeRecord();
  PutInt(second, 4, 30);
  WriteFile(HandMadeRecord() + second);  // 464 bytes
  LoadPrintSettings(appDir, setup);
  EXPECT_EQ(setup.BodyFont, (FontSpec{1, 12, Gbk("黑体"), fsItalic}));
  EXPECT_EQ(setup.TitleFont, (FontSpec{134, 18, "Arial", fsBold | fsStrikeOut}));
  const TDeviceMetrics& p = setup.Metrics[DevicePrinter];
  EXPECT_EQ((std::array{p.MarginLeft, p.MarginRight, p.MarginTop, p.MarginBottom}),
            (std::array{100, 50, 200, 25}));
}

TEST_F(SettingsFile, SaveWritesTheRecordByteForByte) {
  LoadPrintSettings(appDir, setup);
  setup.BodyFont = FontSpec{1, 12, Gbk("黑体"), fsItalic};
  setup.TitleFont = FontSpec{134, 18, "Arial", fsBold | fsStrikeOut};
  setup.Metrics[DevicePrinter].MarginLeft = 100;
  setup.Metrics[DevicePrinter].MarginRight = 50;
  setup.Metrics[DevicePrinter].MarginTop = 200;
  setup.Metrics[DevicePrinter].MarginBottom = 25;
  ASSERT_TRUE(SavePrintSettings(appDir, setup).Ok);
  EXPECT_EQ(ReadFile(), HandMadeRecord());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(SettingsFile, LoadThenSaveGivesTheSameBytes) {
  WriteFile(HandMadeRecord());
  LoadPrintSettings(appDir, setup);
  ASSERT_TRUE(SavePrintSettings(appDir, setup).Ok);
  EXPECT_EQ(ReadFile(), HandMadeRecord());
}

TEST_F(SettingsFile, LongFontNameIsSavedAsItsFirstHundredBytes) {
  ApplyDefaultPrintSettings(setup);
  setup.BodyFont.Name = std::string(100, 'a') + std::string(20, 'b');
  ASSERT_TRUE(SavePrintSettings(appDir, setup).Ok);
  const std::string bytes = ReadFile();
  ASSERT_EQ(bytes.size(), 232u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 100);
  EXPECT_EQ(bytes.substr(13, 100), std::string(100, 'a'));
  PrintSetup loaded;
  loaded.Metrics[DevicePrinter].Dpi = 600;
  LoadPrintSettings(appDir, loaded);
  EXPECT_EQ(loaded.BodyFont.Name, std::string(100, 'a'));
}

struct Damage {
  const char* Name;
  std::size_t Offset;
  std::int32_t Value;
  bool Byte;  // a one-byte field
};
void PrintTo(const Damage& c, std::ostream* os) { *os << c.Name; }

class DamagedSettings : public SettingsFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedSettings, LoadsSomethingUsable) {
  std::string r = HandMadeRecord();
  if (GetParam().Byte) r[GetParam().Offset] = static_cast<char>(GetParam().Value);
  else PutInt(r, GetParam().Offset, GetParam().Value);
  WriteFile(r);
  LoadPrintSettings(appDir, setup);
  for (const FontSpec* f : {&setup.BodyFont, &setup.TitleFont}) {
    EXPECT_GE(f->Size, 1);
    EXPECT_LE(f->Size, kMaxFontPoints);
    EXPECT_FALSE(f->Name.empty());
    EXPECT_LE(f->Name.size(), 100u);
    EXPECT_EQ(f->Style & ~0x0F, 0);
  }
  const TDeviceMetrics& p = setup.Metrics[DevicePrinter];
  for (std::int32_t m : {p.MarginLeft, p.MarginRight, p.MarginTop, p.MarginBottom}) {
    EXPECT_GE(m, 0);
    EXPECT_LE(m, 6000);
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, DamagedSettings,
                         ::testing::Values(Damage{"sizeZero", 4, 0, false},
                                           Damage{"sizeNegative", 8, -12, false},
                                           Damage{"sizeHuge", 4, 0x7FFFFFFF, false},
                                           Damage{"nameLength255", 12, 255, true},
                                           Damage{"nameLength101", 113, 101, true},
                                           Damage{"nameEmpty", 12, 0, true},
                                           Damage{"styleJunk", 214, 0xF0, true},
                                           Damage{"marginNegative", 216, -5000, false},
                                           Damage{"marginHuge", 228, 0x7FFFFFFF, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SettingsFile, DamagedValuesFallBackAsDocumented) {
  std::string r = HandMadeRecord();
  PutInt(r, 4, 0);
  PutInt(r, 8, -3);
  r[12] = static_cast<char>(200);
  r[113] = 0;
  PutInt(r, 216, -1);
  PutInt(r, 224, 1 << 30);
  WriteFile(r);
  LoadPrintSettings(appDir, setup);
  EXPECT_EQ(setup.BodyFont.Size, 10);
  EXPECT_EQ(setup.TitleFont.Size, 16);
  EXPECT_EQ(setup.BodyFont.Name, Gbk("黑体"));  // cut at the first NUL
  EXPECT_EQ(setup.TitleFont.Name, Gbk("宋体"));
  EXPECT_EQ(setup.Metrics[DevicePrinter].MarginLeft, 0);
  EXPECT_EQ(setup.Metrics[DevicePrinter].MarginTop, 6000);
}

// Whatever stands under the settings file's name, the program starts at
// once: anything but a whole record in a regular file gives the defaults.
struct Standing {
  const char* Name;
  std::function<void(const fs::path& file, const std::string& record)> Arrange;
  bool Record;  // the record is read
};
void PrintTo(const Standing& c, std::ostream* os) { *os << c.Name; }

class WhatStandsThere : public SettingsFile, public ::testing::WithParamInterface<Standing> {};

TEST_P(WhatStandsThere, IsReadAtOnce) {
  GetParam().Arrange(FilePath(), HandMadeRecord());
  const testchild::Outcome got = testchild::Run({.AlarmSeconds = 10}, [&] {
    LoadPrintSettings(appDir, setup);
    return std::to_string(setup.BodyFont.Size) + " " + std::to_string(setup.Metrics[DevicePrinter].MarginLeft);
  });
  ASSERT_TRUE(got.Finished) << "loading the settings did not finish";
  EXPECT_EQ(got.Answer, GetParam().Record ? "12 100" : "10 197");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WhatStandsThere,
    ::testing::Values(Standing{"nothing", [](const fs::path&, const std::string&) {}, false},
                      Standing{"pipe", [](const fs::path& f, const std::string&) { ::mkfifo(f.c_str(), 0666); }, false},
                      Standing{"folder", [](const fs::path& f, const std::string&) { fs::create_directory(f); }, false},
                      Standing{"shortFile",
                               [](const fs::path& f, const std::string& r) {
                                 std::ofstream(f, std::ios::binary) << r.substr(0, 231);
                               },
                               false},
                      Standing{"wholeRecord",
                               [](const fs::path& f, const std::string& r) { std::ofstream(f, std::ios::binary) << r; },
                               true},
                      Standing{"twoRecords",
                               [](const fs::path& f, const std::string& r) {
                                 std::ofstream(f, std::ios::binary) << r << std::string(232, '\x7F');
                               },
                               true},
                      Standing{"linkToARecord",
                               [](const fs::path& f, const std::string& r) {
                                 std::ofstream(f.string() + ".real", std::ios::binary) << r;
                                 fs::create_symlink(f.string() + ".real", f);
                               },
                               true}),
    [](const auto& info) { return std::string(info.param.Name); });

struct SettingsSaveFailure {
  const char* Name;
  // The folder to save into; an existing settings file there holds `record`.
  std::function<std::string(const std::string& appDir, const std::string& record)> Arrange;
  std::string Reason;
};
void PrintTo(const SettingsSaveFailure& c, std::ostream* os) { *os << c.Name; }

class SettingsNotSaved : public SettingsFile, public ::testing::WithParamInterface<SettingsSaveFailure> {};

TEST_P(SettingsNotSaved, SaysWhyInChineseAndKeepsTheOldFile) {
  const std::string into = GetParam().Arrange(appDir, HandMadeRecord());
  const std::string file = into + "qprtpara.dat";
  const bool existed = fs::is_regular_file(file);
  ApplyDefaultPrintSettings(setup);
  const SettingsSaveResult result = SavePrintSettings(into, setup);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "无法保存打印设置文件 " + file + ": " + GetParam().Reason);
  if (existed) {
    EXPECT_EQ(ReadFile(), HandMadeRecord());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsNotSaved,
    ::testing::Values(
        SettingsSaveFailure{"missingFolder", [](const std::string& d, const std::string&) { return d + "no/such/dir/"; },
                            "文件或文件夹不存在"},
        SettingsSaveFailure{"readOnlyFile",
                            [](const std::string& d, const std::string& r) {
                              std::ofstream(d + "qprtpara.dat", std::ios::binary) << r;
                              ::chmod((d + "qprtpara.dat").c_str(), 0444);
                              return d;
                            },
                            "文件是只读的"},
        SettingsSaveFailure{"folderInItsPlace",
                            [](const std::string& d, const std::string&) {
                              fs::create_directory(d + "qprtpara.dat");
                              return d;
                            },
                            "这是文件夹，不是文件"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsNames, AppDirAndFileNameAreCut) {
  const std::string longDir = "/" + std::string(120, 'd') + "/";
  EXPECT_EQ(MakeAppDir(longDir).size(), 100u);
  EXPECT_EQ(SettingsFileName("/opt/gs/"), "/opt/gs/qprtpara.dat");
  EXPECT_EQ(SettingsFileName(std::string(95, 'd') + "/").size(), 108u);
  EXPECT_EQ(SettingsFileName(std::string(99, 'd') + "/"), std::string(99, 'd') + "/qprtpara.dat");
  EXPECT_EQ(SettingsFileName(std::string(100, 'd') + "/"), std::string(100, 'd') + "/qprtpara.da");
  EXPECT_EQ(SettingsFileName(std::string(100, 'd')).size(), 112u);
}

}  // namespace
