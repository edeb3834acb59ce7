// A save killed at a random moment: the grade file is byte for byte the
// version before or the version after, never a mixture or a stump, and no
// temporary file stays beside it. Twice: a file the save replaces, and a
// file with a second hard link, which the save rewrites in place; there
// the next opening puts back a rewrite the kill interrupted.
//
// A child loads and saves a file of some megabytes over and over, each save
// turning one version into the other; the test kills it with SIGKILL after
// a random (seeded) delay spread over a few load-save cycles, opens the
// file as the next program would, looks at the folder, and starts the next
// child.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "gradefile/GradeBook.h"

namespace fs = std::filesystem;

namespace {

// A file of `courses` courses of `students` students each; `version` goes
// into every grade, so two versions differ all through the file.
std::string GradeFile(int courses, int students, int version) {
  std::string out = GradeTexts::MagicLine() + "\r\n";
  for (int c = 0; c < courses; ++c) {
    char key[8];
    std::snprintf(key, sizeof key, "%05d", c);
    out += std::string(key) + "tkCourse " + std::to_string(c) + "\r\n";
    out += std::string(key) + "t930\r\n";
    for (int s = 0; s < students; ++s) {
      char record[80];
      std::snprintf(record, sizeof record, "%scj%010d%-8s%-8s%-6d%-6d%3d   EXTRA1\r\n", key, c * students + s,
                    "NAME", "CLASS", (s + version) % 100, (s * 7 + version) % 100, (s * 3 + version) % 100);
      out += record;
    }
  }
  return out;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// Loads `target` and saves the other version, for ever; exits with 1 when a
// load or save fails (which the test reports).
[[noreturn]] void SaveForEver(const fs::path& target, const GradeBook& first, const GradeBook& second) {
  for (;;) {
    GradeBook book;
    if (book.Load(target).Outcome != LoadOutcome::Loaded) ::_exit(1);
    GradeBook next = book.GradeLines.front() == first.GradeLines.front() ? second : first;
    if (!next.Save(target).Ok) ::_exit(2);
  }
}

class SaveKilled : public ::testing::TestWithParam<bool> {};

TEST_P(SaveKilled, LeavesTheOldOrTheNewFileAndNoTemporaryFile) {
  const bool hardLinked = GetParam();
  const fs::path dir = fs::temp_directory_path() / ("gs_killed_" + std::to_string(::getpid()));
  const fs::path elsewhere = fs::temp_directory_path() / ("gs_killed_link_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::remove_all(elsewhere);
  fs::create_directories(dir);
  fs::create_directories(elsewhere);
  const fs::path target = dir / "grades.txt";
  const fs::path link = elsewhere / "same.txt";
  const std::string versionA = GradeFile(60, 1000, 0), versionB = GradeFile(60, 1000, 1);  // 3.5 MB each
  GradeBook bookA, bookB;
  ASSERT_TRUE(bookA.ReadBytes(versionA));
  ASSERT_TRUE(bookB.ReadBytes(versionB));
  ASSERT_TRUE(bookA.Save(target).Ok);
  ASSERT_EQ(ReadAll(target), versionA);
  if (hardLinked) fs::create_hard_link(target, link);

  // One load and save here, to spread the kills over a few cycles.
  const auto start = std::chrono::steady_clock::now();
  {
    GradeBook book;
    ASSERT_EQ(book.Load(target).Outcome, LoadOutcome::Loaded);
    ASSERT_TRUE(book.Save(target).Ok);
  }
  const auto cycle = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::int64_t> delay(0, 3 * cycle.count());
  const std::set<std::string> alone{"grades.txt"};
  std::set<std::string> leftovers;  // from a kill between naming and renaming, if one hit that moment
  int sawA = 0, sawB = 0, putBack = 0;
  constexpr int kKills = 60;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) SaveForEver(target, bookA, bookB);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself with " << WEXITSTATUS(status);

    {
      GradeBook next;
      const LoadResult opened = next.Load(target);
      ASSERT_EQ(opened.Outcome, LoadOutcome::Loaded) << opened.Message;
      if (!opened.Notice.empty()) ++putBack;
    }
    const std::string now = ReadAll(target);
    ASSERT_TRUE(now == versionA || now == versionB) << "kill " << kill << ": " << now.size() << " bytes";
    (now == versionA ? sawA : sawB)++;
    if (hardLinked) {
      ASSERT_EQ(fs::hard_link_count(target), 2u) << "kill " << kill;
      ASSERT_TRUE(fs::equivalent(target, link));
    }
    std::set<std::string> names = Entries(dir);
    // The next save removes what an earlier kill left.
    for (const std::string& old : leftovers) EXPECT_FALSE(names.count(old)) << old << " was not removed";
    leftovers.clear();
    for (const std::string& name : names) {
      if (name == "grades.txt") continue;
      // The one moment no system call covers: the finished file has its
      // temporary name and is not yet renamed. It is whole, and it is the
      // next save's to remove.
      EXPECT_EQ(name.rfind(".grades.txt.gs-", 0), 0u) << name;
      const std::string left = ReadAll(dir / name);
      EXPECT_TRUE(left == versionA || left == versionB) << name;
      leftovers.insert(name);
    }
  }
  // Both versions were seen: the kills did not all land before the first save.
  EXPECT_GT(sawA, 0);
  EXPECT_GT(sawB, 0);
  if (hardLinked) {
    std::cout << "[          ] " << putBack << " of " << kKills << " kills interrupted a rewrite in place\n";
  }

  // A last save, undisturbed, leaves the file alone in its folder.
  ASSERT_TRUE(bookA.Save(target).Ok);
  EXPECT_EQ(Entries(dir), alone);
  EXPECT_EQ(ReadAll(target), versionA);
  fs::remove_all(dir);
  fs::remove_all(elsewhere);
}

INSTANTIATE_TEST_SUITE_P(Files, SaveKilled, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HardLinkedRewrittenInPlace" : "Replaced"; });

}  // namespace
