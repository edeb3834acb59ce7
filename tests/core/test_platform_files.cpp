// Files through the platform module: where a write lands, what it keeps of
// the file it replaces, what it refuses, and that a failure leaves the old
// bytes and no temporary file; reading regular files only, without waiting.
//
// Every write runs in a child process, so that a case can change its umask,
// its file-size limit or its user (nobody) without touching the others.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "test_child.h"

namespace fs = std::filesystem;
using platform::FileError;
using platform::FileStatus;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteRaw(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

struct stat StatOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

using testchild::kNobody;
using ChildSetup = testchild::Setup;

constexpr int kCouldNotRun = -1;  // the system does not let the child become nobody: skip
constexpr int kDidNotFinish = -2;

// The file error a child's function returned, or one of the two above.
int InChild(const ChildSetup& setup, const std::function<int()>& fn) {
  const testchild::Outcome outcome = testchild::Run(setup, [&] { return std::to_string(fn()); });
  if (!outcome.Ran) return kCouldNotRun;
  if (!outcome.Finished) return kDidNotFinish;
  return std::stoi(outcome.Answer);
}

// A folder of its own for each case, which anybody may enter, with the
// state folder (where a rewrite in a folder nobody may write keeps its
// journal) inside it.
class Scratch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir = fs::temp_directory_path() / ("gs_files_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    ::chmod(dir.c_str(), 0777);
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_STATE_HOME");
    fs::remove_all(dir);
  }

  fs::path dir;
};

// ---- writing -------------------------------------------------------------------

constexpr const char* kOld = "the old bytes\n";
const std::string kNew = std::string("the new bytes\r\n") + std::string(5000, 'n');

// What a case leaves to check: the name written to, the file that must get
// the bytes, and what is expected of it.
struct Scene {
  fs::path Dir;                    // where the target is (may be a sub-folder)
  fs::path Target;                 // the name passed to the writer
  fs::path File;                   // the file that gets the bytes (Target unless a link)
  std::optional<std::string> Old;  // its bytes before, when it existed
  std::optional<mode_t> Mode;      // its mode after a successful write
  std::optional<uid_t> Owner;      // its owner after a successful write
  bool InPlace = false;            // the same inode after the write
  std::vector<fs::path> AlsoSees;  // further names that must show the new bytes
  std::vector<fs::path> Links;     // names that must still be symbolic links
};

struct WriteCase {
  const char* Name;
  ChildSetup As;
  std::function<void(Scene&)> Arrange;
  FileError Expect;
};
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.Name; }

fs::path MakeFile(const fs::path& p, mode_t mode, uid_t owner = 0, const std::string& bytes = kOld) {
  WriteRaw(p, bytes);
  EXPECT_EQ(::chmod(p.c_str(), mode), 0);
  EXPECT_EQ(::chown(p.c_str(), owner, owner), 0);
  return p;
}

// An existing file of `mode` as the target, replaced or written in place.
std::function<void(Scene&)> Existing(mode_t mode, uid_t owner = 0, bool inPlace = false) {
  return [=](Scene& s) {
    MakeFile(s.File, mode, owner);
    s.Old = kOld;
    s.Mode = mode;
    s.Owner = owner;
    s.InPlace = inPlace;
  };
}

const std::vector<WriteCase>& WriteCases() {
  static const std::vector<WriteCase> cases = {
      {"newFileTakesTheUmask", {.Umask = 027}, [](Scene& s) { s.Mode = 0640; s.Owner = 0; }, FileError::None},
      {"newFileUnderAStrictUmask", {.Umask = 077}, [](Scene& s) { s.Mode = 0600; }, FileError::None},
      {"replacedFileKeepsItsMode", {}, Existing(0604), FileError::None},
      {"symlinkStaysALink", {},
       [](Scene& s) {
         s.File = s.Dir / "real.txt";
         Existing(0640)(s);
         fs::create_symlink(s.File, s.Target);
         s.Links = {s.Target};
       },
       FileError::None},
      {"relativeLinkChain", {},
       [](Scene& s) {
         fs::create_directories(s.Dir / "sub");
         s.File = s.Dir / "sub" / "real.txt";
         Existing(0600)(s);
         fs::create_symlink("real.txt", s.Dir / "sub" / "inner");
         fs::create_symlink("sub/inner", s.Target);
         s.Links = {s.Target, s.Dir / "sub" / "inner"};
       },
       FileError::None},
      {"danglingLinkCreatesItsFile", {.Umask = 022},
       [](Scene& s) {
         s.File = s.Dir / "made.txt";
         fs::create_symlink("made.txt", s.Target);
         s.Links = {s.Target};
         s.Mode = 0644;
       },
       FileError::None},
      {"linkLoopIsRefused", {},
       [](Scene& s) {
         fs::create_symlink("b", s.Target);
         fs::create_symlink(s.Target.filename(), s.Dir / "b");
       },
       FileError::LinkLoop},
      {"bothHardLinksSeeTheNewBytes", {},
       [](Scene& s) {
         Existing(0644, 0, true)(s);
         fs::create_hard_link(s.File, s.Dir / "second.txt");
         s.AlsoSees = {s.Dir / "second.txt"};
       },
       FileError::None},
      {"readOnlyFileIsRefusedEvenForRoot", {}, Existing(0444), FileError::ReadOnlyFile},
      {"fileTheOwnerMayNotWriteIsRefused", {}, Existing(0464), FileError::ReadOnlyFile},
      {"rootKeepsTheOwnerOfAFileItReplaces", {}, Existing(0640, kNobody), FileError::None},
      {"othersWritableFileIsWrittenInPlace", {.AsNobody = true}, Existing(0666, 0, true), FileError::None},
      {"othersFileNobodyMayWriteIsRefused", {.AsNobody = true}, Existing(0644), FileError::NotOwner},
      {"ownFileInALockedFolderIsRewrittenInPlace", {.AsNobody = true},
       [](Scene& s) {
         fs::create_directories(s.Dir);
         ::chmod(s.Dir.c_str(), 0755);
         Existing(0644, kNobody, true)(s);
       },
       FileError::None},
      {"newFileInALockedFolderIsRefused", {.AsNobody = true},
       [](Scene& s) {
         fs::create_directories(s.Dir);
         ::chmod(s.Dir.c_str(), 0755);
       },
       FileError::Permission},
      {"folderIsRefused", {}, [](Scene& s) { fs::create_directory(s.Target); }, FileError::IsFolder},
      {"fifoIsRefused", {}, [](Scene& s) { ASSERT_EQ(::mkfifo(s.Target.c_str(), 0666), 0); },
       FileError::NotRegular},
      {"deviceIsRefused", {},
       [](Scene& s) {
         if (::mknod(s.Target.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return;
         // Without the right to make a device node a socket stands in.
         const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un addr{};
         addr.sun_family = AF_UNIX;
         std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", s.Target.c_str());
         ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
         ::close(sock);
       },
       FileError::NotRegular},
      {"fileSizeLimitKeepsTheOldFile", {.FileLimit = 1024}, Existing(0644), FileError::TooLarge},
      {"fileSizeLimitKeepsAHardLinkedFile", {.FileLimit = 1024},
       [](Scene& s) {
         Existing(0644, 0, true)(s);
         fs::create_hard_link(s.File, s.Dir / "second.txt");
       },
       FileError::TooLarge},
      {"longestNameIsWritten", {},
       [](Scene& s) {
         s.Target = s.File = s.Dir / std::string(255, 'l');
         Existing(0644)(s);
       },
       FileError::None},
      {"tooLongNameIsRefused", {}, [](Scene& s) { s.Target = s.File = s.Dir / std::string(256, 'l'); },
       FileError::NameTooLong},
      {"missingFolder", {}, [](Scene& s) { s.Target = s.File = s.Dir / "gone" / "x.txt"; }, FileError::NoSuchFile},
  };
  return cases;
}

class Writing : public Scratch, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(Writing, LandsWhereItShouldOrLeavesEverythingAsItWas) {
  const WriteCase& c = GetParam();
  Scene s;
  s.Dir = dir / "folder";
  fs::create_directories(s.Dir);
  ::chmod(s.Dir.c_str(), 0777);
  s.Target = s.File = s.Dir / "target.txt";
  c.Arrange(s);
  if (HasFatalFailure()) return;
  const std::set<std::string> before = Entries(s.Dir);
  const ino_t inode = s.Old ? StatOf(s.File).st_ino : 0;

  const std::string target = s.Target.string();
  const int got = InChild(c.As, [&] { return static_cast<int>(platform::WriteWholeFile(target, kNew).Error); });
  if (got == kCouldNotRun) GTEST_SKIP() << "this system does not let a child become nobody";
  ASSERT_EQ(got, static_cast<int>(c.Expect));

  std::set<std::string> after = Entries(s.Dir);
  if (c.Expect != FileError::None) {
    EXPECT_EQ(after, before) << "a failed write leaves no file behind";
    if (s.Old) {
      EXPECT_EQ(ReadAll(s.File), *s.Old);
    }
    return;
  }
  if (!s.Old && s.File.parent_path() == s.Dir) after.erase(s.File.filename().string());
  EXPECT_EQ(after, before) << "no temporary file is left";
  EXPECT_EQ(ReadAll(s.File), kNew);
  const struct stat st = StatOf(s.File);
  if (s.Mode) {
    EXPECT_EQ(st.st_mode & 07777, *s.Mode);
  }
  if (s.Owner) {
    EXPECT_EQ(st.st_uid, *s.Owner);
  }
  if (s.Old) {
    EXPECT_EQ(st.st_ino == inode, s.InPlace) << "rewritten in place or replaced as expected";
  }
  for (const fs::path& p : s.AlsoSees) EXPECT_EQ(ReadAll(p), kNew) << p;
  for (const fs::path& p : s.Links) EXPECT_TRUE(fs::is_symlink(p)) << p;
}

INSTANTIATE_TEST_SUITE_P(Cases, Writing, ::testing::ValuesIn(WriteCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

// A temporary file left by a program killed at the last moment (after it
// got its name, before the rename) is removed by the next save; one that a
// running writer holds is not.
TEST_F(Scratch, LeftoverOfAKilledWriterIsRemovedByTheNextSave) {
  const fs::path target = dir / "t.txt";
  WriteRaw(target, kOld);
  const fs::path stale = dir / ".t.txt.gs-stale000";
  const fs::path busy = dir / ".t.txt.gs-busy0000";
  const fs::path foreign = dir / ".t.txt.notours";
  WriteRaw(stale, "x");
  WriteRaw(busy, "y");
  WriteRaw(foreign, "z");
  const int held = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  ASSERT_TRUE(platform::WriteWholeFile(target.string(), kNew).Ok());
  ::close(held);
  EXPECT_EQ(Entries(dir), (std::set<std::string>{"t.txt", busy.filename().string(), foreign.filename().string()}));
  EXPECT_EQ(ReadAll(target), kNew);
}

// A disk that fills up during the write: a small file system of its own,
// where the system lets the test mount one.
TEST_F(Scratch, FullDiskKeepsTheOldFile) {
  const fs::path disk = dir / "disk";
  fs::create_directory(disk);
  if (::mount("gs-full", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "this system does not let the test mount a small disk";
  struct Unmount {
    fs::path at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{disk};
  const std::string old(20000, 'o');
  WriteRaw(disk / "plain.txt", old);
  WriteRaw(disk / "linked.txt", old);
  fs::create_hard_link(disk / "linked.txt", disk / "other.txt");
  const std::set<std::string> before = Entries(disk);
  for (const char* name : {"plain.txt", "linked.txt", "new.txt"}) {
    EXPECT_EQ(platform::WriteWholeFile((disk / name).string(), std::string(40000, 'n')).Error,
              FileError::DiskFull)
        << name;
    EXPECT_EQ(Entries(disk), before) << name;
  }
  EXPECT_EQ(ReadAll(disk / "plain.txt"), old);
  EXPECT_EQ(ReadAll(disk / "other.txt"), old);
}

// The writer's own steps: several writes, a writer's reported failure,
// abandoning, and the identity of what was written.
TEST_F(Scratch, OutputFileStepByStep) {
  const fs::path target = dir / "steps.txt";
  WriteRaw(target, kOld);
  FileStatus status;
  {
    auto out = platform::OutputFile::Begin(target.string(), status);
    ASSERT_TRUE(out) << static_cast<int>(status.Error);
    EXPECT_TRUE(out->Write("one "));
    EXPECT_TRUE(out->Write("two"));
    out->Abandon();
  }
  EXPECT_EQ(ReadAll(target), kOld);
  {
    auto out = platform::OutputFile::Begin(target.string(), status);
    ASSERT_TRUE(out);
    out->Write("half");
    out->Fail(FileStatus{FileError::DiskFull, ENOSPC});
    EXPECT_EQ(out->Commit().Error, FileError::DiskFull);
  }
  EXPECT_EQ(ReadAll(target), kOld);
  {
    auto out = platform::OutputFile::Begin(target.string(), status);
    ASSERT_TRUE(out);
    out->Write("dropped with the object");
  }
  EXPECT_EQ(ReadAll(target), kOld);
  {
    auto out = platform::OutputFile::Begin(target.string(), status);
    ASSERT_TRUE(out);
    // A library that opens the file by name and truncates it.
    WriteRaw(out->WritablePath(), "by name");
    ASSERT_TRUE(out->Commit().Ok());
    const auto now = platform::Identify(target.string());
    ASSERT_TRUE(now);
    EXPECT_TRUE(out->WrittenIdentity().SameVersion(*now));
  }
  EXPECT_EQ(ReadAll(target), "by name");
  EXPECT_EQ(Entries(dir), (std::set<std::string>{"steps.txt"}));
}

// ---- reading -------------------------------------------------------------------

struct ReadCase {
  const char* Name;
  ChildSetup As;
  std::function<fs::path(const fs::path& dir)> Arrange;
  FileError Expect;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.Name; }

const std::vector<ReadCase>& ReadCases() {
  static const std::vector<ReadCase> cases = {
      {"regularFile", {}, [](const fs::path& d) { return MakeFile(d / "r.txt", 0644); }, FileError::None},
      {"missing", {}, [](const fs::path& d) { return d / "none.txt"; }, FileError::NoSuchFile},
      {"missingFolder", {}, [](const fs::path& d) { return d / "none" / "x.txt"; }, FileError::NoSuchFile},
      {"fifoWithoutWaiting", {},
       [](const fs::path& d) {
         ::mkfifo((d / "p").c_str(), 0666);
         return d / "p";
       },
       FileError::NotRegular},
      {"folder", {}, [](const fs::path& d) { return d; }, FileError::IsFolder},
      {"linkLoop", {},
       [](const fs::path& d) {
         fs::create_symlink("b", d / "a");
         fs::create_symlink("a", d / "b");
         return d / "a";
       },
       FileError::LinkLoop},
      {"noPermission", {.AsNobody = true}, [](const fs::path& d) { return MakeFile(d / "secret.txt", 0600); },
       FileError::Permission},
      {"nameTooLong", {}, [](const fs::path& d) { return d / std::string(300, 'n'); }, FileError::NameTooLong},
  };
  return cases;
}

class Reading : public Scratch, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(Reading, OpensRegularFilesOnlyAndAtOnce) {
  const ReadCase& c = GetParam();
  const std::string path = c.Arrange(dir).string();
  const int got = InChild(c.As, [&] {
    FileStatus status;
    auto file = platform::InputFile::Open(path, status);
    if (file.has_value() != status.Ok()) return 119;
    if (file) {
      char buffer[64];
      const long n = file->Read(buffer, sizeof buffer, status);
      if (std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0) != kOld) return 118;
    }
    return static_cast<int>(status.Error);
  });
  if (got == kCouldNotRun) GTEST_SKIP() << "this system does not let a child become nobody";
  EXPECT_EQ(got, static_cast<int>(c.Expect));
}

INSTANTIATE_TEST_SUITE_P(Cases, Reading, ::testing::ValuesIn(ReadCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Scratch, ReadWholeFileStopsAtItsLimit) {
  const fs::path p = dir / "big.txt";
  WriteRaw(p, std::string(1000, 'b'));
  std::string bytes;
  EXPECT_EQ(platform::ReadWholeFile(p.string(), bytes, 1000).Error, FileError::None);
  EXPECT_EQ(bytes, std::string(1000, 'b'));
  EXPECT_EQ(platform::ReadWholeFile(p.string(), bytes, 999).Error, FileError::TooLarge);
}

TEST_F(Scratch, IdentityTellsFilesAndVersionsApart) {
  const fs::path a = dir / "a.txt", b = dir / "b.txt";
  WriteRaw(a, "aaaa");
  WriteRaw(b, "bbbb");
  const auto first = platform::Identify(a.string());
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->Regular);
  EXPECT_EQ(first->Size, 4);
  EXPECT_TRUE(first->SameVersion(*platform::Identify(a.string())));
  EXPECT_FALSE(first->SameFile(*platform::Identify(b.string())));
  WriteRaw(a, "aaaaa");
  EXPECT_TRUE(first->SameFile(*platform::Identify(a.string())));
  EXPECT_FALSE(first->SameVersion(*platform::Identify(a.string())));
  FileStatus status;
  EXPECT_FALSE(platform::Identify((dir / "none").string(), &status));
  EXPECT_EQ(status.Error, FileError::NoSuchFile);
  EXPECT_TRUE(platform::Identify(dir.string())->Folder);
}

}  // namespace
