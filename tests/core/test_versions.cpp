// The versions a save replaced: kept newest first within their limits, put
// back with the present bytes kept first, and compared with the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "gradefile/EditHistory.h"
#include "gradefile/Versions.h"
#include "test_state_fixture.h"

namespace gradebook_test {
namespace {

class VersionsTest : public StateFolderTest {
 protected:
  std::vector<std::string> Contents(const fs::path& file) {
    std::vector<std::string> contents;
    for (const KeptVersion& v : ListVersions(file)) contents.push_back(Read(v.Path));
    return contents;
  }
};

TEST_F(VersionsTest, KeepsWhatEachSaveReplacedNewestFirst) {
  const fs::path file = dir_ / "g.txt";
  EXPECT_EQ(KeepVersion(file), "");
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(KeepVersion(dir_ / "sub"), "") << "a folder is the save's to refuse";
  EXPECT_TRUE(ListVersions(file).empty()) << "nothing there, nothing kept";
  EXPECT_TRUE(ListVersions(dir_ / "sub").empty());
  for (const char* bytes : {"one", "two", "two", "three!"}) {
    Write("g.txt", bytes);
    EXPECT_EQ(KeepVersion(file), "");
  }
  EXPECT_EQ(Contents(file), (std::vector<std::string>{"three!", "two", "one"}));
  const std::vector<KeptVersion> versions = ListVersions(file);
  EXPECT_EQ(versions[0].Size, 6);
  EXPECT_GT(versions[0].KeptNs, versions[1].KeptNs);
  EXPECT_EQ(versions[0].WrittenNs, platform::Identify(file)->ModifiedNs);
  // Another name of the same file finds the same versions.
  EXPECT_EQ(ListVersions((dir_ / "sub" / ".." / "g.txt").string()).size(), 3u);
}

TEST_F(VersionsTest, LimitsRemoveTheOldestFirst) {
  const fs::path a = dir_ / "a.txt", b = dir_ / "b.txt";
  const VersionLimits perFile{3, 1 << 20};
  for (int i = 0; i < 5; ++i) {
    Write("a.txt", "a" + std::to_string(i));
    KeepVersion(a, perFile);
  }
  EXPECT_EQ(Contents(a), (std::vector<std::string>{"a4", "a3", "a2"}));
  // 10 bytes in all: b's new version pushes out a's oldest.
  const VersionLimits total{3, 10};
  Write("b.txt", "bbbbbb");
  KeepVersion(b, total);
  EXPECT_EQ(Contents(b), std::vector<std::string>{"bbbbbb"});
  EXPECT_EQ(Contents(a), (std::vector<std::string>{"a4", "a3"}));
  Write("a.txt", std::string(11, 'x'));
  EXPECT_NE(KeepVersion(a, total), "") << "a file larger than the whole store is not kept, and says so";
}

TEST_F(VersionsTest, RestorePutsAVersionBackAndKeepsThePresentBytes) {
  const fs::path file = dir_ / "g.txt";
  for (const char* bytes : {"old", "middle"}) {
    Write("g.txt", bytes);
    KeepVersion(file);
  }
  Write("g.txt", "now");
  const RestoreResult restored = RestoreVersion(file, 2);
  EXPECT_TRUE(restored.Ok) << restored.Message;
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(Contents(file), (std::vector<std::string>{"now", "middle", "old"}));

  struct Row {
    int Number;
    const char* Says;
  };
  for (const Row& row : {Row{0, "没有第 0 个"}, Row{4, "共有 3 个"}}) {
    const RestoreResult refused = RestoreVersion(file, row.Number);
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Message.find(row.Says), std::string::npos) << refused.Message;
  }
  platform::FileLock::Outcome outcome;
  platform::FileStatus status;
  const std::optional<platform::FileLock> window = TakeEditLock(file, outcome, status);
  ASSERT_EQ(outcome, platform::FileLock::Outcome::Taken);
  const RestoreResult busy = RestoreVersion(file, 1);
  EXPECT_FALSE(busy.Ok);
  EXPECT_NE(busy.Message.find("正在一个窗口中编辑"), std::string::npos) << busy.Message;
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(ListVersions(file).size(), 3u);
}

TEST_F(VersionsTest, TheEditLockIsOnePerFileAndGoesWithItsHolder) {
  const fs::path file = Write("g.txt", "x");
  platform::FileLock::Outcome outcome;
  platform::FileStatus status;
  {
    const std::optional<platform::FileLock> first = TakeEditLock(file, outcome, status);
    EXPECT_EQ(outcome, platform::FileLock::Outcome::Taken);
    fs::create_hard_link(file, dir_ / "link.txt");
    EXPECT_FALSE(TakeEditLock(dir_ / "link.txt", outcome, status));
    EXPECT_EQ(outcome, platform::FileLock::Outcome::HeldElsewhere);
  }
  EXPECT_TRUE(TakeEditLock(file, outcome, status));
  fs::remove_all(dir_ / "state");
  Write("state", "");  // no state folder can be made
  EXPECT_FALSE(TakeEditLock(file, outcome, status));
  EXPECT_EQ(outcome, platform::FileLock::Outcome::Failed);
}

TEST_F(VersionsTest, DifferingRecordsCountsStudentsNotLines) {
  const GradeBook base = Loaded(TwoCourses());
  GradeBook twoChanged = Loaded(TwoCourses());
  twoChanged.RewriteGrades(0, "1", "2", "3");
  twoChanged.RewriteGrades(2, "1", "2", "3");
  GradeBook reordered = Loaded(TwoCourses());
  std::swap(reordered.GradeLines[0], reordered.GradeLines[1]);
  GradeBook fewer = Loaded(TwoCourses());
  fewer.GradeLines.pop_back();
  EXPECT_EQ(DifferingRecords(base, base), 0u);
  EXPECT_EQ(DifferingRecords(twoChanged, base), 2u);
  EXPECT_EQ(DifferingRecords(reordered, base), 0u);
  EXPECT_EQ(DifferingRecords(fewer, base), 1u);
  EXPECT_EQ(DifferingRecords(base, fewer), 1u);
}

TEST_F(VersionsTest, AVersionOpensAsOneStep) {
  GradeBook current = Loaded(TwoCourses());
  current.BuildCourseList();
  current.RewriteGrades(0, "1", "2", "3");
  current.StoreShare(1, "40");  // a header line more than the version has
  const GradeBook version = Loaded(TwoCourses());
  const std::string now = current.Serialize();
  const std::optional<EditStep> step = StepToVersion(current, version);
  ASSERT_TRUE(step);
  ASSERT_TRUE(PlayStep(current.HeadLines, current.GradeLines, *step, false, true));
  EXPECT_EQ(current.Serialize(), version.Serialize());
  EditHistory history;
  history.Push(*step);
  history.Undo(current);
  EXPECT_EQ(current.Serialize(), now);
  EXPECT_TRUE(StepToVersion(version, version)->Empty());

  GradeBook otherStudent = Loaded(TwoCourses());
  otherStudent.GradeLines[1].replace(7, 10, "2099000000");
  GradeBook fewer = Loaded(TwoCourses());
  fewer.GradeLines.pop_back();
  EXPECT_FALSE(StepToVersion(version, otherStudent));
  EXPECT_FALSE(StepToVersion(version, fewer));
}

TEST_F(VersionsTest, TimesAreIso8601InLocalTime) {
  const char* old = std::getenv("TZ");
  const std::string kept = old ? old : "";
  struct Row {
    const char* Zone;
    std::int64_t Ns;
    const char* Iso;
  };
  for (const Row& row : {Row{"UTC0", 0, "1970-01-01T00:00:00+00:00"},
                         Row{"CST-8", 1765250133999999999, "2025-12-09T11:15:33+08:00"}}) {
    ::setenv("TZ", row.Zone, 1);
    ::tzset();
    EXPECT_EQ(IsoTime(row.Ns), row.Iso);
  }
  if (old) ::setenv("TZ", kept.c_str(), 1); else ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace gradebook_test
