// A grade book and its file: what the user is told when a file cannot be
// read or written, what a save keeps of the old file, the bytes after a
// Ctrl-Z, and whether the file changed on disk since it was read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "test_child.h"
#include "test_gradebook_fixture.h"

namespace fs = std::filesystem;
using namespace gradebook_test;

namespace {

// ---------------------------------------------------------------- loading

struct LoadFailure {
  const char* Name;
  bool AsNobody;
  std::function<fs::path(const fs::path& dir)> Arrange;
  LoadOutcome Outcome;
  std::string Text;  // what follows the path in the message
};
void PrintTo(const LoadFailure& c, std::ostream* os) { *os << c.Name; }

fs::path FileIn(const fs::path& p, mode_t mode) {
  std::ofstream(p, std::ios::binary) << Magic() << "\r\n";
  ::chmod(p.c_str(), mode);
  return p;
}

const std::vector<LoadFailure>& LoadFailures() {
  static const std::vector<LoadFailure> cases = {
      {"missingFile", false, [](const fs::path& d) { return d / "nope.txt"; }, LoadOutcome::Missing, "不存在!"},
      {"missingFolder", false, [](const fs::path& d) { return d / "gone" / "x.txt"; }, LoadOutcome::Missing,
       "不存在!"},
      {"folder", false, [](const fs::path& d) { return d; }, LoadOutcome::ReadError, "读取失败: 这是文件夹，不是文件"},
      {"pipe", false,
       [](const fs::path& d) {
         ::mkfifo((d / "pipe").c_str(), 0666);
         return d / "pipe";
       },
       LoadOutcome::ReadError, "读取失败: 不是普通文件"},
      {"linkLoop", false,
       [](const fs::path& d) {
         fs::create_symlink("b", d / "a");
         fs::create_symlink("a", d / "b");
         return d / "a";
       },
       LoadOutcome::ReadError, "读取失败: 符号链接绕成了循环"},
      {"folderWithoutPermission", true,
       [](const fs::path& d) {
         fs::create_directory(d / "locked");
         FileIn(d / "locked" / "x.txt", 0644);
         ::chmod((d / "locked").c_str(), 0700);
         return d / "locked" / "x.txt";
       },
       LoadOutcome::ReadError, "读取失败: 没有访问权限"},
      {"fileWithoutPermission", true, [](const fs::path& d) { return FileIn(d / "secret.txt", 0600); },
       LoadOutcome::ReadError, "读取失败: 没有访问权限"},
      {"nameTooLong", false, [](const fs::path& d) { return d / std::string(300, 'n'); }, LoadOutcome::ReadError,
       "读取失败: 文件名太长"},
  };
  return cases;
}

class LoadFailing : public GradeBookTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(LoadFailing, SaysWhatHappenedAndKeepsTheOpenBook) {
  const LoadFailure& c = GetParam();
  ::chmod(dir_.c_str(), 0755);
  const fs::path path = c.Arrange(dir_);
  const testchild::Outcome got = testchild::Run({.AsNobody = c.AsNobody}, [&] {
    GradeBook book;
    book.HeadLines = {"K0001tk A"};
    const LoadResult r = book.Load(path);
    const bool kept = book.HeadLines == Lines{"K0001tk A"};
    return std::to_string(static_cast<int>(r.Outcome)) + (kept ? "|kept|" : "|lost|") + r.Message;
  });
  if (!got.Ran) GTEST_SKIP() << "this system does not let a child become nobody";
  ASSERT_TRUE(got.Finished) << "the load hung or crashed";
  EXPECT_EQ(got.Answer, std::to_string(static_cast<int>(c.Outcome)) + "|kept|" + path.string() + c.Text);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadFailing, ::testing::ValuesIn(LoadFailures()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GradeBookTest, EveryByteOfAPathStaysVisibleInTheMessage) {
  // A name written by a program that used GBK: not UTF-8, so shown byte by byte.
  const fs::path gbkName = dir_ / G("张三.txt");
  GradeBook book;
  EXPECT_EQ(book.Load(gbkName).Message, dir_.string() + "/\\xD5\\xC5\\xC8\\xFD.txt不存在!");
  const fs::path utf8Name = dir_ / "成绩.txt";
  EXPECT_EQ(book.Load(utf8Name).Message, utf8Name.string() + "不存在!");
}

// ---------------------------------------------------------------- Ctrl-Z

struct TrailerCase {
  const char* Name;
  std::string Bytes;
  std::size_t Records;  // read as grade records
  std::string Trailer;
  std::string Notice;
  std::string Saved;  // what a save writes; empty: the file's own bytes
};
void PrintTo(const TrailerCase& c, std::ostream* os) { *os << c.Name; }

std::vector<TrailerCase> TrailerCases() {
  const std::string a = Record("K0001", "1", "甲", "一班", "80", "90", " 87");
  const std::string b = Record("K0001", "2", "乙", "一班", "70", "60", " 63");
  const std::string c = Record("K0001", "3", "丙", "一班", "", "", "");
  const std::string head = Join({Magic(), "K0001tk A", a});
  const std::string after = Join({b, c});
  auto notice = [](std::size_t n) {
    return "文件在结束标记(Ctrl-Z)之后还有 " + std::to_string(n) + " 字节未读入，这些字节将原样保留在文件末尾。";
  };
  return {
      {"noMark", head + after, 3, "", "", ""},
      {"endsWithTheOldMark", head + after + "\x1A", 3, "\x1A", "", ""},
      {"recordsAfterTheMark", head + "\x1A" + after, 1, "\x1A" + after, notice(after.size()), ""},
      {"oneByteAfterTheMark", head + "\x1A\n", 1, "\x1A\n", notice(1), ""},
      {"markInsideALine", Join({Magic()}) + "K0001tk A\x1A" + after, 0, "\x1A" + after, notice(after.size()),
       Join({Magic(), "K0001tk A"}) + "\x1A" + after},
  };
}

class AfterCtrlZ : public GradeBookTest, public ::testing::WithParamInterface<TrailerCase> {};

TEST_P(AfterCtrlZ, NothingIsDroppedAndTheUserIsTold) {
  const TrailerCase& c = GetParam();
  const fs::path p = Write("z.txt", c.Bytes);
  GradeBook book;
  const LoadResult r = book.Load(p);
  ASSERT_EQ(r.Outcome, LoadOutcome::Loaded);
  EXPECT_EQ(book.GradeLines.size(), c.Records);
  EXPECT_EQ(book.Trailer, c.Trailer);
  EXPECT_EQ(r.Notice, c.Notice);
  ASSERT_TRUE(book.Save(p).Ok);
  EXPECT_EQ(Read(p), c.Saved.empty() ? c.Bytes : c.Saved);
}

INSTANTIATE_TEST_SUITE_P(Cases, AfterCtrlZ, ::testing::ValuesIn(TrailerCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GradeBookTest, EditBeforeTheMarkIsSavedWithTheBytesAfterIt) {
  const std::string after = "\x1A" + Join({Record("K0001", "2", "乙", "", "70", "60", " 63")});
  const fs::path p = Write("edit.txt", Join({Magic(), "K0001tk A", Record("K0001", "1", "甲", "", "", "", "")}) + after);
  GradeBook book;
  ASSERT_EQ(book.Load(p).Outcome, LoadOutcome::Loaded);
  book.RewriteGrades(0, "90", "80", " 83");
  ASSERT_TRUE(book.Save(p).Ok);
  EXPECT_EQ(Read(p), Join({Magic(), "K0001tk A", Record("K0001", "1", "甲", "", "90", "80", " 83")}) + after);
}

// ---------------------------------------------------------------- saving

struct SaveFailure {
  const char* Name;
  testchild::Setup As;
  std::function<fs::path(const fs::path& dir)> Arrange;  // the target, with its old bytes if any
  std::string Reason;
};
void PrintTo(const SaveFailure& c, std::ostream* os) { *os << c.Name; }

const std::string kOldFile = Join({Magic(), "K0001tk old"});

fs::path OldFile(const fs::path& p, mode_t mode) {
  std::ofstream(p, std::ios::binary) << kOldFile;
  ::chmod(p.c_str(), mode);
  return p;
}

const std::vector<SaveFailure>& SaveFailures() {
  static const std::vector<SaveFailure> cases = {
      {"readOnlyFile", {}, [](const fs::path& d) { return OldFile(d / "ro.txt", 0444); }, "文件是只读的"},
      {"anotherUsersFile", {.AsNobody = true}, [](const fs::path& d) { return OldFile(d / "root.txt", 0644); },
       "文件属于其他用户，不能改写"},
      {"beyondTheFileSizeLimit", {.FileLimit = 4096}, [](const fs::path& d) { return OldFile(d / "big.txt", 0644); },
       "文件太大"},
      {"missingFolder", {}, [](const fs::path& d) { return d / "gone" / "x.txt"; }, "文件或文件夹不存在"},
      {"folder", {},
       [](const fs::path& d) {
         fs::create_directory(d / "folder");
         return d / "folder";
       },
       "这是文件夹，不是文件"},
  };
  return cases;
}

class SaveFailing : public GradeBookTest, public ::testing::WithParamInterface<SaveFailure> {};

TEST_P(SaveFailing, SaysWhyAndLeavesTheOldFileAndModified) {
  const SaveFailure& c = GetParam();
  ::chmod(dir_.c_str(), 0777);
  const fs::path target = c.Arrange(dir_);
  const std::vector<std::string> before = DirEntries();
  const testchild::Outcome got = testchild::Run(c.As, [&] {
    GradeBook book;
    book.ReadBytes(kOldFile);
    book.HeadLines.assign(200, "K0001tk " + std::string(100, 'x'));  // larger than the size limit
    book.Modified = true;
    const SaveResult r = book.Save(target);
    return std::string(r.Ok ? "saved|" : "failed|") + (book.Modified ? "modified|" : "clean|") + r.Message;
  });
  if (!got.Ran) GTEST_SKIP() << "this system does not let a child become nobody";
  ASSERT_TRUE(got.Finished);
  EXPECT_EQ(got.Answer, "failed|modified|" + target.string() + "存储失败，原文件未改动: " + c.Reason);
  if (fs::is_regular_file(target)) {
    EXPECT_EQ(Read(target), kOldFile);
  }
  EXPECT_EQ(DirEntries(), before) << "nothing left behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveFailing, ::testing::ValuesIn(SaveFailures()),
                         [](const auto& info) { return std::string(info.param.Name); });

// What a rename could not do, a save does in place: the other name of a hard
// link sees the grades, and a file in a folder its owner may not write to
// is still saved.
TEST_F(GradeBookTest, SaveKeepsHardLinksAndWritesInPlaceInALockedFolder) {
  const fs::path p = OldFile(dir_ / "linked.txt", 0644);
  fs::create_hard_link(p, dir_ / "other-name.txt");
  GradeBook book;
  ASSERT_EQ(book.Load(p).Outcome, LoadOutcome::Loaded);
  book.HeadLines.push_back("K0001tj T");
  ASSERT_TRUE(book.Save(p).Ok);
  EXPECT_EQ(Read(dir_ / "other-name.txt"), Join({Magic(), "K0001tk old", "K0001tj T"}));

  ::chmod(dir_.c_str(), 0755);
  const fs::path own = OldFile(dir_ / "nobodys.txt", 0644);
  ASSERT_EQ(::chown(own.c_str(), testchild::kNobody, testchild::kNobody), 0);
  const testchild::Outcome got = testchild::Run({.AsNobody = true}, [&] {
    GradeBook mine;
    if (mine.Load(own).Outcome != LoadOutcome::Loaded) return std::string("not loaded");
    mine.HeadLines.push_back("K0001tj T");
    const SaveResult r = mine.Save(own);
    return r.Ok ? std::string("saved") : r.Message;
  });
  if (!got.Ran) GTEST_SKIP() << "this system does not let a child become nobody";
  EXPECT_EQ(got.Answer, "saved");
  EXPECT_EQ(Read(own), Join({Magic(), "K0001tk old", "K0001tj T"}));
  EXPECT_EQ(DirEntries(), (std::vector<std::string>{"linked.txt", "nobodys.txt", "other-name.txt"}));
}

// ---------------------------------------------------------- changed on disk

struct DiskChange {
  const char* Name;
  std::function<void(const fs::path& p, GradeBook& book)> Act;
  bool Changed;
};
void PrintTo(const DiskChange& c, std::ostream* os) { *os << c.Name; }

void Overwrite(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

const std::vector<DiskChange>& DiskChanges() {
  static const std::vector<DiskChange> cases = {
      {"unchanged", [](const fs::path&, GradeBook&) {}, false},
      {"readAgain", [](const fs::path& p, GradeBook&) { std::ifstream in(p); }, false},
      {"rewrittenByAnotherProgram", [](const fs::path& p, GradeBook&) { Overwrite(p, kOldFile + "K0002tk B\r\n"); },
       true},
      {"sameSizeWrittenLater",
       [](const fs::path& p, GradeBook&) {
         Overwrite(p, Join({Magic(), "K0001tk new"}));
         const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 5, 0}};
         ::utimensat(AT_FDCWD, p.c_str(), later, 0);
       },
       true},
      {"replacedByRename",
       [](const fs::path& p, GradeBook&) {
         Overwrite(p.string() + ".new", kOldFile);
         fs::rename(p.string() + ".new", p);
       },
       true},
      {"deleted", [](const fs::path& p, GradeBook&) { fs::remove(p); }, true},
      {"savedByThisBook", [](const fs::path& p, GradeBook& book) { ASSERT_TRUE(book.Save(p).Ok); }, false},
      {"savedThenRewritten",
       [](const fs::path& p, GradeBook& book) {
         ASSERT_TRUE(book.Save(p).Ok);
         Overwrite(p, kOldFile + "K0002tk B\r\n");
       },
       true},
      {"neverLoaded", [](const fs::path&, GradeBook& book) { book = GradeBook(); }, false},
  };
  return cases;
}

class ChangedOnDisk : public GradeBookTest, public ::testing::WithParamInterface<DiskChange> {};

TEST_P(ChangedOnDisk, TellsAnotherVersionFromTheOneReadOrWritten) {
  const fs::path p = OldFile(dir_ / "grades.txt", 0644);
  GradeBook book;
  ASSERT_EQ(book.Load(p).Outcome, LoadOutcome::Loaded);
  GetParam().Act(p, book);
  EXPECT_EQ(book.ChangedOnDisk(p), GetParam().Changed);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedOnDisk, ::testing::ValuesIn(DiskChanges()),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
