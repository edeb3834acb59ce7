// What protects a file survives a save that replaces it: owner, group,
// mode, the access list and other extended attributes, and nobody gains
// access; and one writer at a time holds the file (WriteLock).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/WriteLock.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

void WriteRaw(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// A POSIX access list as the system stores it: version 2, then (tag,
// permissions, id) entries in order.
std::string AccessList(std::uint32_t namedUser, std::uint16_t userPerm, std::uint16_t groupPerm,
                       std::uint16_t maskPerm) {
  std::string out;
  auto put = [&](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
  };
  put(2, 4);
  const std::uint32_t none = 0xffffffff;
  const struct {
    std::uint16_t tag, perm;
    std::uint32_t id;
  } entries[] = {{0x01, 6, none}, {0x02, userPerm, namedUser}, {0x04, groupPerm, none}, {0x10, maskPerm, none},
                 {0x20, 0, none}};
  for (const auto& e : entries) put(e.tag, 2), put(e.perm, 2), put(e.id, 4);
  return out;
}

std::string Attribute(const fs::path& p, const char* name) {
  std::vector<char> value(4096);
  const ssize_t n = ::getxattr(p.c_str(), name, value.data(), value.size());
  return n < 0 ? std::string("(none)") : std::string(value.data(), static_cast<std::size_t>(n));
}

class Protection : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("gs_protect_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Protection, AReplacedFileKeepsItsAccessListAndAttributes) {
  const fs::path file = dir / "g.txt";
  WriteRaw(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  // nobody may read and write; the owning group only read; the mask rw.
  const std::string acl = AccessList(65534, 6, 4, 6);
  if (::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
    GTEST_SKIP() << "the file system of " << dir << " keeps no access lists";
  if (::setxattr(file.c_str(), "user.origin", "office", 6, 0) != 0)
    GTEST_SKIP() << "the file system of " << dir << " keeps no user attributes";
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const std::string aclBefore = Attribute(file, "system.posix_acl_access");

  ASSERT_TRUE(platform::WriteWholeFile(file.string(), "new bytes").Ok());

  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "replaced, not rewritten in place";
  EXPECT_EQ(after.st_mode, before.st_mode) << "the mask stays the mask, the group keeps read only";
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(Attribute(file, "system.posix_acl_access"), aclBefore);
  EXPECT_EQ(Attribute(file, "user.origin"), "office");
}

// Two processes take the lock in turn; a third finds it held and, after
// its wait, is told Busy; a lock on a name whose file was replaced while it
// waited is taken on the new file.
TEST_F(Protection, OneWriterAtATime) {
  const fs::path file = dir / "g.txt";
  WriteRaw(file, "v1");
  platform::FileStatus status;
  std::optional<platform::WriteLock> first = platform::WriteLock::Take(file.string(), 0ms, status);
  ASSERT_TRUE(first) << static_cast<int>(status.Error);

  const pid_t child = ::fork();
  if (child == 0) {
    platform::FileStatus s;
    std::string holder;
    const auto busy = platform::WriteLock::Take(file.string(), 100ms, s, &holder);
    const bool refused = !busy && s.Error == platform::FileError::Busy &&
                         holder.rfind(std::to_string(::getppid()) + " ", 0) == 0;
    // Waits for the replacement the parent makes, then holds the new file.
    const auto later = platform::WriteLock::Take(file.string(), 5000ms, s);
    ::_exit(refused && later ? 0 : 1);
  }
  ::usleep(300 * 1000);
  // A save that replaces the file: the waiter must lock the new one.
  WriteRaw(dir / "next.txt", "v2");
  fs::rename(dir / "next.txt", file);
  first->Release();
  int result = 0;
  ASSERT_EQ(::waitpid(child, &result, 0), child);
  EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0) << "the waiter was refused, then got the new file";

  // No file yet: nothing to hold, nothing to lose.
  EXPECT_TRUE(platform::WriteLock::Take((dir / "none.txt").string(), 0ms, status));
  EXPECT_FALSE(platform::WriteLock::Take(dir.string(), 0ms, status));
  EXPECT_EQ(status.Error, platform::FileError::IsFolder);
}

}  // namespace
