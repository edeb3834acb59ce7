// The recovery journal: what is written is read back and replayed to the
// same bytes; damage ends the journal where it starts; a journal never
// plays onto bytes other than its base.
#include <gtest/gtest.h>

#include <filesystem>

#include "gradefile/EditHistory.h"
#include "gradefile/JournalWriter.h"
#include "gradefile/RecoveryJournal.h"
#include "test_state_fixture.h"

namespace gradebook_test {
namespace {

class RecoveryJournalTest : public StateFolderTest {
 protected:
  // Edits the book as the window does: a cell, a share added on a course
  // without one, an undo of a cell, a redo; each finished step as the
  // journal gets it.
  std::vector<JournalStep> Edit(GradeBook& book) {
    std::vector<JournalStep> steps;
    EditHistory history;
    history.Observe([&](const EditStep& step, bool backward) {
      steps.push_back({static_cast<std::int64_t>(steps.size()) * 1000000000, backward, step});
    });
    EditStep cell;
    cell.Add(book.RewriteGrades(1, "85", "90", "88"));
    history.Push(cell);
    EditStep share;
    book.BuildCourseList();
    share.Add(*book.StoreShare(1, "40"));
    history.Push(share);
    EditStep second;
    second.Add(book.RewriteGrades(0, "60", "70", "67"));
    history.Push(second);
    history.Push(EditStep{});  // an empty step is not kept, and not told
    history.Undo(book);
    history.Undo(book);  // the added share line goes again
    history.Redo(book);
    EXPECT_EQ(steps.size(), 6u);
    return steps;
  }
  std::string Encode(const JournalHeader& header, const std::vector<JournalStep>& steps) {
    std::uint64_t check = 0;
    std::string bytes = EncodeJournalStart(header, check);
    for (const JournalStep& step : steps) bytes += EncodeJournalStep(step, check, check);
    return bytes;
  }
  JournalHeader Header() { return {"/x/grades.txt", {}, 42}; }
};

TEST_F(RecoveryJournalTest, ReplayGivesTheEditedBytesAndIsOneUndoStep) {
  GradeBook edited = Loaded(TwoCourses());
  const std::vector<JournalStep> steps = Edit(edited);
  const std::optional<JournalContents> read = ReadJournal(Encode(Header(), steps));
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->Torn);
  EXPECT_EQ(read->Header.Path, "/x/grades.txt");
  EXPECT_EQ(read->Header.BaseHash, 42u);
  ASSERT_EQ(read->Steps.size(), steps.size());
  EXPECT_EQ(read->Steps[4].TimeNs, 4000000000);

  GradeBook recovered = Loaded(TwoCourses());
  const std::optional<EditStep> whole = ReplayJournal(read->Steps, recovered);
  ASSERT_TRUE(whole);
  EXPECT_TRUE(recovered.Modified);
  EXPECT_EQ(recovered.Serialize(), edited.Serialize());

  EditHistory history;
  history.Push(*whole);
  history.Undo(recovered);
  EXPECT_EQ(recovered.Serialize(), Loaded(TwoCourses()).Serialize());
  history.Redo(recovered);
  EXPECT_EQ(recovered.Serialize(), edited.Serialize());
}

TEST_F(RecoveryJournalTest, AnUndoneAddedLineIsRemovedAndPutBackByTheWholeStep) {
  // Saved with the share line added, then that step undone: the journal's
  // base has the line and its replay takes it out.
  GradeBook book = Loaded(TwoCourses());
  book.BuildCourseList();
  EditStep share;
  share.Add(*book.StoreShare(1, "40"));
  const std::string base = book.Serialize();
  GradeBook later = Loaded(base);
  const std::optional<JournalContents> read = ReadJournal(Encode(Header(), {{1, true, share}}));
  ASSERT_TRUE(read);
  const std::optional<EditStep> whole = ReplayJournal(read->Steps, later);
  ASSERT_TRUE(whole);
  EXPECT_EQ(later.Serialize(), TwoCourses());
  EditHistory history;
  history.Push(*whole);
  history.Undo(later);
  EXPECT_EQ(later.Serialize(), base);
}

TEST_F(RecoveryJournalTest, DamageEndsTheJournalWhereItStarts) {
  GradeBook book = Loaded(TwoCourses());
  const std::vector<JournalStep> steps = Edit(book);
  std::uint64_t check = 0;
  const std::string start = EncodeJournalStart(Header(), check);
  std::vector<std::string> frames;
  for (const JournalStep& step : steps) frames.push_back(EncodeJournalStep(step, check, check));
  std::string whole = start;
  for (const std::string& f : frames) whole += f;
  const std::size_t lastStart = whole.size() - frames.back().size();

  std::uint64_t otherCheck = 0;
  std::string foreign = EncodeJournalStart({"/x/grades.txt", {}, 43}, otherCheck);
  foreign += frames[0];

  std::string swapped = start + frames[1] + frames[0];
  std::string flipped = whole;
  flipped[start.size() + frames[0].size() + 20] ^= 0x20;  // inside the second step

  struct Row {
    const char* Name;
    std::string Bytes;
    std::size_t Steps;
    bool Torn;
  };
  const Row rows[] = {
      {"whole", whole, steps.size(), false},
      {"last step torn after its length", whole.substr(0, lastStart + 4), steps.size() - 1, true},
      {"last step torn before its check", whole.substr(0, whole.size() - 1), steps.size() - 1, true},
      {"three bytes of a length", whole.substr(0, lastStart + 3), steps.size() - 1, true},
      {"a byte flipped in the second step", flipped, 1, true},
      {"steps out of order", swapped, 0, true},
      {"a step of another base", foreign, 0, true},
      {"only the header", start, 0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::optional<JournalContents> read = ReadJournal(row.Bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Steps.size(), row.Steps);
    EXPECT_EQ(read->Torn, row.Torn);
  }
  const std::string notJournals[] = {"", "GSJOURNAL1\n", start.substr(0, start.size() - 1), TwoCourses(),
                                     "GSJOURNAL2\n" + start.substr(11)};
  for (const std::string& bytes : notJournals) EXPECT_FALSE(ReadJournal(bytes)) << bytes.size();
}

TEST_F(RecoveryJournalTest, NeverPlaysOntoOtherBytes) {
  GradeBook edited = Loaded(TwoCourses());
  const std::vector<JournalStep> steps = Edit(edited);
  GradeBook other = Loaded(TwoCourses());
  other.RewriteGrades(0, "1", "2", "3");  // the first step's line differs from its base
  const std::string before = other.Serialize();
  EXPECT_FALSE(ReplayJournal(steps, other));
  EXPECT_EQ(other.Serialize(), before);
}

TEST_F(RecoveryJournalTest, WriterAppendsRebasesAndRemoves) {
  GradeBook book = Loaded(TwoCourses());
  const std::vector<JournalStep> steps = Edit(book);
  const std::string path = JournalPathFor("/x/grades.txt");
  ASSERT_FALSE(path.empty());
  const fs::path file = Write("g.txt", TwoCourses());
  const std::uint64_t base = HashOfBook(Loaded(TwoCourses()));
  {
    JournalWriter writer(path, {file, {}, base});
    writer.Flush();
    EXPECT_FALSE(std::filesystem::exists(path)) << "no step, no journal";
    for (const JournalStep& step : steps) writer.Append(step.Step, step.Backward);
    writer.Flush();
    std::optional<JournalContents> read = ReadJournalFile(path);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Steps.size(), steps.size());
    EXPECT_TRUE(read->Steps[3].Backward);
    EXPECT_EQ(read->Steps[3].Step.Records[0].After, steps[3].Step.Records[0].After);
    EXPECT_EQ(AllJournalFiles(), std::vector<std::string>{path});
    EXPECT_EQ(JournalsOf("/x/grades.txt"), std::vector<std::string>{path});
    EXPECT_EQ(ReadBaseCopy(path, base), TwoCourses()) << "the base is kept beside the journal";
    EXPECT_NE(NewJournalPathFor("/x/grades.txt"), path);

    writer.Rebase({"/x/grades.txt", {}, 7});
    writer.Flush();
    EXPECT_FALSE(std::filesystem::exists(path)) << "a save removes the journal";
    EXPECT_FALSE(ReadBaseCopy(path, base));
    writer.Append(steps[0].Step, false);
    writer.Flush();
    read = ReadJournalFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Header.BaseHash, 7u);
    EXPECT_EQ(read->Steps.size(), 1u);
    EXPECT_FALSE(writer.TakeFailure());
    writer.Append(steps[1].Step, false);
  }
  EXPECT_EQ(ReadJournalFile(path)->Steps.size(), 2u) << "queued steps are written before the writer ends";
  JournalWriter again(path, Header());
  again.Remove();
  again.Flush();
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RecoveryJournalTest, AFailureIsToldOnceAndStopsNothing) {
  Write("state", "a file where the state folder must be");
  GradeBook book = Loaded(TwoCourses());
  const std::vector<JournalStep> steps = Edit(book);
  JournalWriter writer(JournalPathFor("/x/grades.txt"), Header());
  writer.Append(steps[0].Step, false);
  writer.Append(steps[1].Step, false);
  writer.Flush();
  const std::optional<std::string> failure = writer.TakeFailure();
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("无法写入恢复记录"), std::string::npos) << *failure;
  writer.Rebase(Header());
  writer.Append(steps[2].Step, false);
  writer.Flush();
  EXPECT_FALSE(writer.TakeFailure()) << "the same failure is not told again";
}

TEST_F(RecoveryJournalTest, HashesOfFileAndBookAgree) {
  const fs::path file = Write("g.txt", TwoCourses());
  platform::FileStatus status;
  const std::optional<std::uint64_t> ofFile = HashOfFile(file, status);
  ASSERT_TRUE(ofFile);
  EXPECT_EQ(*ofFile, HashOfBook(Loaded(TwoCourses())));
  EXPECT_NE(*ofFile, HashOfBook(Loaded(TwoCourses() + "\x1a")));
  EXPECT_FALSE(HashOfFile(dir_ / "missing.txt", status));
}

}  // namespace
}  // namespace gradebook_test
