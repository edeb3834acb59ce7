// Where the print settings are read from and saved to: the program's folder
// or the user's own configuration folder, and the folders made on the way.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/Folders.h"
#include "printing/PrintSettings.h"
#include "test_child.h"

namespace fs = std::filesystem;
using platform::FileError;

namespace {

constexpr std::int32_t kProgramMargin = 111, kUserMargin = 222, kSavedMargin = 333, kDefaultMargin = 197;
constexpr std::size_t kLeftMarginAt = 216;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A record whose left margin tells which file it came from.
std::string RecordWithLeftMargin(std::int32_t margin) {
  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = 600;
  ApplyDefaultPrintSettings(setup);
  setup.Metrics[DevicePrinter].MarginLeft = margin;
  return EncodePrintSettings(setup);
}

// The left margin a settings file holds; nullopt when there is no file.
std::optional<std::int32_t> LeftMarginIn(const fs::path& p) {
  if (!fs::exists(p)) return std::nullopt;
  const std::string bytes = ReadAll(p);
  if (bytes.size() != kSettingsRecordSize) return -1;
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i)
    u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[kLeftMarginAt + i])) << (8 * i);
  return static_cast<std::int32_t>(u);
}

class Scratch : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    // Short: the program's folder must stay within the 100 bytes its name
    // is cut to.
    static int count = 0;
    dir = fs::temp_directory_path() / ("gs_places_" + std::to_string(::getpid()) + "_" + std::to_string(++count));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ::chmod(dir.c_str(), 0755);
  }
  void TearDown() override { fs::remove_all(dir); }
};

// ---- the rule ----------------------------------------------------------------

enum class Copy { None, Record, Short, ReadOnly };
enum class Lands { Program, User, Nowhere };

struct Place {
  const char* Name;
  Copy Program;          // what stands in the program's folder
  Copy User;             // what stands in the user's configuration folder
  bool ProgramWritable;  // the program's folder belongs to the user
  bool UserDirKnown;     // the system names a configuration folder
  bool ConfigBlocked;    // a file stands where ~/.config must be made
  std::int32_t Loaded;   // the left margin loading gives
  Lands SavedTo;
  const char* Reason;  // when nothing is saved: why, about the file named
};

const Place kPlaces[] = {
    {"nothingAnywhere", Copy::None, Copy::None, true, true, false, kDefaultMargin, Lands::Program, ""},
    {"programCopyOnly", Copy::Record, Copy::None, true, true, false, kProgramMargin, Lands::Program, ""},
    {"userCopyOnly", Copy::None, Copy::Record, true, true, false, kUserMargin, Lands::User, ""},
    {"bothCopies", Copy::Record, Copy::Record, true, true, false, kUserMargin, Lands::User, ""},
    {"brokenUserCopyStillComesFirst", Copy::Record, Copy::Short, true, true, false, kDefaultMargin, Lands::User, ""},
    {"installedWithoutCopies", Copy::None, Copy::None, false, true, false, kDefaultMargin, Lands::User, ""},
    {"installedWithProgramCopy", Copy::Record, Copy::None, false, true, false, kProgramMargin, Lands::User, ""},
    {"programCopyReadOnly", Copy::ReadOnly, Copy::None, true, true, false, kProgramMargin, Lands::User, ""},
    {"installedNoUserFolderKnown", Copy::None, Copy::None, false, false, false, kDefaultMargin, Lands::Nowhere,
     "没有访问权限"},
    {"installedUserFolderBlocked", Copy::None, Copy::None, false, true, true, kDefaultMargin, Lands::Nowhere,
     "文件或文件夹不存在"},
};

void PrintTo(const Place& c, std::ostream* os) { *os << c.Name; }

class SettingsPlaces : public Scratch, public ::testing::WithParamInterface<Place> {};

void Put(const fs::path& file, Copy copy, std::int32_t margin) {
  if (copy == Copy::None) return;
  fs::create_directories(file.parent_path());
  std::string record = RecordWithLeftMargin(margin);
  if (copy == Copy::Short) record.resize(100);
  std::ofstream(file, std::ios::binary) << record;
  ::chmod(file.c_str(), copy == Copy::ReadOnly ? 0444 : 0644);
}

// Everything under `top` becomes the user's (nobody's).
void GiveToNobody(const fs::path& top) {
  if (!fs::exists(top)) return;
  ::chown(top.c_str(), testchild::kNobody, testchild::kNobody);
  for (const auto& e : fs::recursive_directory_iterator(top))
    ::lchown(e.path().c_str(), testchild::kNobody, testchild::kNobody);
}

TEST_P(SettingsPlaces, ReadsTheUsersCopyFirstAndSavesWhereTheUserMayWrite) {
  const Place& c = GetParam();
  const fs::path program = dir / "program", home = dir / "home";
  const fs::path userFolder = home / ".config" / "gradesheet";
  const fs::path programFile = program / "qprtpara.dat", userFile = userFolder / "qprtpara.dat";
  fs::create_directories(program);
  fs::create_directories(home);
  ::chmod(program.c_str(), 0755);
  Put(programFile, c.Program, kProgramMargin);
  Put(userFile, c.User, kUserMargin);
  if (c.ConfigBlocked) std::ofstream(home / ".config") << "not a folder";
  GiveToNobody(home);
  if (c.ProgramWritable) GiveToNobody(program);

  const std::string appDir = program.string() + "/";
  const std::string userDir = c.UserDirKnown ? userFolder.string() + "/" : std::string();
  const testchild::Outcome got = testchild::Run({.AsNobody = true}, [&] {
    PrintSetup setup;
    setup.Metrics[DevicePrinter].Dpi = 600;
    LoadPrintSettings(appDir, userDir, setup);
    const std::int32_t loaded = setup.Metrics[DevicePrinter].MarginLeft;
    setup.Metrics[DevicePrinter].MarginLeft = kSavedMargin;
    const SettingsSaveResult saved = SavePrintSettings(appDir, userDir, setup);
    return std::to_string(loaded) + "|" + (saved.Ok ? "ok" : saved.Message);
  });
  if (!got.Ran) GTEST_SKIP() << "this system does not let a child become nobody";
  ASSERT_TRUE(got.Finished);

  const fs::path& named = c.UserDirKnown && c.ConfigBlocked ? userFile : programFile;
  const std::string outcome = c.SavedTo == Lands::Nowhere
                                  ? "无法保存打印设置文件 " + named.string() + ": " + c.Reason
                                  : std::string("ok");
  EXPECT_EQ(got.Answer, std::to_string(c.Loaded) + "|" + outcome);

  const auto expected = [&](Copy before, std::int32_t margin, Lands self) -> std::optional<std::int32_t> {
    if (c.SavedTo == self) return kSavedMargin;
    if (before == Copy::None) return std::nullopt;
    return before == Copy::Short ? -1 : margin;
  };
  EXPECT_EQ(LeftMarginIn(programFile), expected(c.Program, kProgramMargin, Lands::Program)) << "program's copy";
  EXPECT_EQ(LeftMarginIn(userFile), expected(c.User, kUserMargin, Lands::User)) << "user's copy";
  if (c.SavedTo == Lands::User && c.User == Copy::None) {
    struct stat st {};
    ASSERT_EQ(::stat(userFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "a folder made for the user is the user's alone";
    EXPECT_EQ(st.st_uid, testchild::kNobody);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsPlaces, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsPlaceNames, TheUsersFileIsNeverCut) {
  const std::string deep = "/" + std::string(150, 'h') + "/.config/gradesheet/";
  EXPECT_EQ(UserSettingsFileName(deep), deep + "qprtpara.dat");
  // Without a user's copy the program's name, cut as ever, is the one read.
  EXPECT_EQ(SettingsFileToRead("/opt/gs/", deep), "/opt/gs/qprtpara.dat");
  EXPECT_EQ(SettingsFileToRead("/opt/gs/", ""), "/opt/gs/qprtpara.dat");
}

// ---- making folders ------------------------------------------------------------

struct FolderCase {
  const char* Name;
  const char* Arrange;  // "file:PATH" a file, "dir:PATH" a folder, "link:PATH" a link to "real"
  const char* Make;     // the path to make, under the scratch folder
  FileError Expect;
  bool AsNobody;
};

const FolderCase kFolders[] = {
    {"existing", "dir:a", "a", FileError::None, false},
    {"nested", "", "a/b/c", FileError::None, false},
    {"trailingAndDoubledSeparators", "", "a//b/", FileError::None, false},
    {"throughALinkToAFolder", "link:a", "a/b", FileError::None, false},
    {"fileInTheWay", "file:a", "a/b", FileError::NoSuchFile, false},
    {"fileAtTheEnd", "file:a", "a", FileError::NoSuchFile, false},
    {"folderNotTheUsers", "dir:a", "a/b", FileError::Permission, true},
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.Name; }

class MakingFolders : public Scratch, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(MakingFolders, MakesEveryMissingFolderOrSaysWhyNot) {
  const FolderCase& c = GetParam();
  const std::string arrange = c.Arrange;
  if (!arrange.empty()) {
    const std::size_t colon = arrange.find(':');
    const std::string kind = arrange.substr(0, colon);
    const fs::path at = dir / arrange.substr(colon + 1);
    if (kind == "file") std::ofstream(at) << "x";
    if (kind == "dir") fs::create_directory(at);
    if (kind == "link") {
      fs::create_directory(dir / "real");
      fs::create_directory_symlink(dir / "real", at);
    }
  }
  const std::string path = (dir / c.Make).string();
  const testchild::Outcome got = testchild::Run(
      {.AsNobody = c.AsNobody}, [&] { return std::to_string(static_cast<int>(platform::CreateFolders(path).Error)); });
  if (!got.Ran) GTEST_SKIP() << "this system does not let a child become nobody";
  ASSERT_TRUE(got.Finished);
  EXPECT_EQ(got.Answer, std::to_string(static_cast<int>(c.Expect)));
  if (c.Expect == FileError::None) {
    EXPECT_TRUE(fs::is_directory(path)) << path;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    if (arrange.empty()) {
      EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, MakingFolders, ::testing::ValuesIn(kFolders),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(MakingFolders, AnEmptyPathIsNoFolder) { EXPECT_EQ(platform::CreateFolders("").Error, FileError::NoSuchFile); }

// The state folder: XDG_STATE_HOME when absolute, else under HOME, else none.
TEST(StateFolder, FollowsTheBaseDirectoryRules) {
  struct Row {
    const char* State;
    const char* Home;
    const char* Expected;
  };
  const Row rows[] = {
      {"/s", "/h", "/s/gradesheet/"},
      {"/s/", "/h", "/s/gradesheet/"},
      {nullptr, "/h", "/h/.local/state/gradesheet/"},
      {"relative", "/h", "/h/.local/state/gradesheet/"},
      {"", "/h", "/h/.local/state/gradesheet/"},
      {nullptr, nullptr, ""},
      {nullptr, "relative", ""},
  };
  const std::string oldState = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  const bool hadState = std::getenv("XDG_STATE_HOME") != nullptr;
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const Row& row : rows) {
    if (row.State != nullptr) setenv("XDG_STATE_HOME", row.State, 1); else unsetenv("XDG_STATE_HOME");
    if (row.Home != nullptr) setenv("HOME", row.Home, 1); else unsetenv("HOME");
    EXPECT_EQ(platform::StateFolder(), row.Expected) << (row.State ? row.State : "(unset)");
  }
  if (hadState) setenv("XDG_STATE_HOME", oldState.c_str(), 1); else unsetenv("XDG_STATE_HOME");
  setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
