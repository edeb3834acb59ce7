// The rollback journal of rewrites in place: what reads as a whole journal,
// and what the next opening of a file does with the journal a killed
// rewrite left beside it or in the state folder.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gradefile/GradeBook.h"
#include "platform/RewriteJournal.h"
#include "text/Texts.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteRaw(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

TEST(RewriteJournal, OnlyAWholeJournalReads) {
  const std::string old = "old bytes\r\nof the file\x1a";
  const std::string whole = platform::JournalBytes(7, 123456789, old);
  const auto read = platform::ReadJournal(whole);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Device, 7u);
  EXPECT_EQ(read->Inode, 123456789u);
  EXPECT_EQ(read->OldBytes, old);
  EXPECT_TRUE(platform::ReadJournal(platform::JournalBytes(1, 2, "")));
  // Cut anywhere, one byte changed anywhere, or one byte more: torn.
  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_FALSE(platform::ReadJournal(std::string_view(whole).substr(0, cut))) << "cut at " << cut;
  for (std::size_t at = 0; at < whole.size(); ++at) {
    std::string changed = whole;
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    EXPECT_FALSE(platform::ReadJournal(changed)) << "byte " << at;
  }
  EXPECT_FALSE(platform::ReadJournal(whole + "x"));
}

const std::string kOldBytes = GradeTexts::MagicLine() + "\r\n00001tkOld course\r\n";
const std::string kMixed = GradeTexts::MagicLine() + "\r\n00001tkNew cse\r\n";

struct OpenCase {
  const char* Name;
  // Plants the journal for `file` (its device and inode given), returns its path.
  std::function<fs::path(const fs::path& file, const struct stat& st)> Plant;
  bool PutBack;       // the old bytes are back and the user is told
  bool JournalStays;  // the journal is still there after the opening
};

fs::path Beside(const fs::path& file, const std::string& bytes) {
  const fs::path journal = platform::JournalBeside(file.string());
  WriteRaw(journal, bytes);
  return journal;
}

const std::vector<OpenCase>& OpenCases() {
  static const std::vector<OpenCase> cases = {
      {"wholeJournalBesidePutsTheOldBytesBack",
       [](const fs::path& f, const struct stat& st) {
         return Beside(f, platform::JournalBytes(st.st_dev, st.st_ino, kOldBytes));
       },
       true, false},
      {"wholeJournalInTheStateFolder",
       [](const fs::path&, const struct stat& st) {
         const fs::path journal = platform::JournalInStateFolder(st.st_dev, st.st_ino);
         fs::create_directories(journal.parent_path());
         WriteRaw(journal, platform::JournalBytes(st.st_dev, st.st_ino, kOldBytes));
         return journal;
       },
       true, false},
      {"wholeJournalInTheTempFolder",
       [](const fs::path&, const struct stat& st) {
         const fs::path journal = platform::JournalInTempFolder(st.st_dev, st.st_ino);
         WriteRaw(journal, platform::JournalBytes(st.st_dev, st.st_ino, kOldBytes));
         return journal;
       },
       true, false},
      {"tornJournalIsIgnoredAndRemoved",
       [](const fs::path& f, const struct stat& st) {
         const std::string whole = platform::JournalBytes(st.st_dev, st.st_ino, kOldBytes);
         return Beside(f, whole.substr(0, whole.size() - 3));
       },
       false, false},
      {"journalOfAnotherFileIsLeftAlone",
       [](const fs::path& f, const struct stat& st) {
         return Beside(f, platform::JournalBytes(st.st_dev, st.st_ino + 1, kOldBytes));
       },
       false, true},
      {"journalARunningWriterHoldsIsLeftAlone",
       [](const fs::path& f, const struct stat& st) {
         const fs::path journal = Beside(f, platform::JournalBytes(st.st_dev, st.st_ino, kOldBytes));
         const int held = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
         ::flock(held, LOCK_EX);  // held until the test process ends
         return journal;
       },
       false, true},
  };
  return cases;
}

class OpeningAfterAKill : public ::testing::TestWithParam<OpenCase> {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("gs_journal_" + std::to_string(::getpid()) + "_" + GetParam().Name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_STATE_HOME");
    fs::remove_all(dir);
  }
  fs::path dir;
};

TEST_P(OpeningAfterAKill, PutsBackAWholeJournalOfThisFileOnly) {
  const OpenCase& c = GetParam();
  const fs::path file = dir / "grades.txt";
  WriteRaw(file, kMixed);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  const fs::path journal = c.Plant(file, st);

  GradeBook book;
  const LoadResult loaded = book.Load(file);
  ASSERT_EQ(loaded.Outcome, LoadOutcome::Loaded) << loaded.Message;
  EXPECT_EQ(ReadAll(file), c.PutBack ? kOldBytes : kMixed);
  EXPECT_EQ(book.HeadLines.front(), c.PutBack ? "00001tkOld course" : "00001tkNew cse")
      << "the book holds what the file holds";
  EXPECT_EQ(loaded.Notice, c.PutBack ? std::string(texts::kRewriteUndone) : std::string());
  EXPECT_EQ(fs::exists(journal), c.JournalStays);
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, st.st_ino) << "put back in place, the file's links kept";
}

INSTANTIATE_TEST_SUITE_P(Cases, OpeningAfterAKill, ::testing::ValuesIn(OpenCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
