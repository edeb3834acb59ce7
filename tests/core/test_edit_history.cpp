// Undo and redo: every kind of step puts back exactly the bytes there were,
// and writes again exactly the bytes the command wrote.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "gradefile/EditHistory.h"
#include "test_gradebook_fixture.h"

using namespace gradebook_test;

namespace {

GradeBook Book() {
  GradeBook book;
  const std::string bytes =
      Join({Magic(), "K0001tk" + G("高等数学"), "K0001t9 30", Record("K0001", "2022000001", "王小明", "计科1", "80", "90", " 87"),
            Record("K0001", "2022000002", "李雷", "计科1", "", "", ""), "K0002tk" + G("线性代数"),
            Record("K0002", "2022000003", "韩梅梅", "计科2", "70", "", " 49")});
  EXPECT_TRUE(book.ReadBytes(bytes));
  book.BuildCourseList();
  return book;
}

struct Snapshot {
  Lines Head, Grades;
  bool operator==(const Snapshot&) const = default;
};
Snapshot Take(const GradeBook& book) { return {book.HeadLines, book.GradeLines}; }

// A command as the window runs it: it changes the book and returns the step
// it would push.
struct StepCase {
  const char* Name;
  std::function<EditStep(GradeBook&)> Command;
};
void PrintTo(const StepCase& c, std::ostream* os) { *os << c.Name; }

EditStep TypeInto(GradeBook& book, std::size_t line, std::vector<const char*> texts) {
  EditStep step;
  for (const char* text : texts) step.Add(book.RewriteGrades(line, text, "90", " 87"));
  return step;
}

const StepCase kSteps[] = {
    {"cell edit, one keystroke", [](GradeBook& b) { return TypeInto(b, 0, {"8"}); }},
    {"cell edit, keystrokes coalesce", [](GradeBook& b) { return TypeInto(b, 0, {"8", "85", "85.5"}); }},
    {"share edit of an existing t9 line",
     [](GradeBook& b) {
       EditStep step;
       for (const char* text : {"4", "40"}) step.Add(*b.StoreShare(0, text));
       return step;
     }},
    {"share edit that adds the t9 line",
     [](GradeBook& b) {
       EditStep step;
       for (const char* text : {"5", "50", ""}) step.Add(*b.StoreShare(1, text));
       return step;
     }},
    {"paste over several records",
     [](GradeBook& b) {
       EditStep step;
       step.Add(std::vector<RecordChange>{b.RewriteGrades(0, "60", "60", " 60"), b.RewriteGrades(1, "70", "70", " 70"),
                                          b.RewriteGrades(2, "", "", "")});
       return step;
     }},
};

class EditHistorySteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(EditHistorySteps, UndoAndRedoGiveBackTheBytes) {
  GradeBook book = Book();
  const Snapshot before = Take(book);
  EditHistory history;
  history.Push(GetParam().Command(book));
  const Snapshot after = Take(book);
  ASSERT_NE(before, after);
  book.Modified = false;

  ASSERT_NE(history.Undo(book), nullptr);
  EXPECT_EQ(Take(book), before);
  EXPECT_FALSE(book.Modified);  // back to the file as opened
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(history.CanRedo());

  ASSERT_NE(history.Redo(book), nullptr);
  EXPECT_EQ(Take(book), after);
  EXPECT_TRUE(book.Modified);
  EXPECT_TRUE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());

  // And once more round, as a teacher toggling to compare would.
  history.Undo(book);
  history.Redo(book);
  EXPECT_EQ(Take(book), after);
}

// A row's name as GoogleTest takes it: letters and digits, the rest '_'.
template <typename Case>
std::string RowName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.Name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Steps, EditHistorySteps, ::testing::ValuesIn(kSteps), RowName<StepCase>);

TEST(EditHistory, StepsUndoInReverseOrderAcrossAnAddedLine) {
  GradeBook book = Book();
  EditHistory history;
  std::vector<Snapshot> states{Take(book)};
  for (const auto& command : {kSteps[3].Command, kSteps[0].Command, kSteps[2].Command, kSteps[4].Command}) {
    history.Push(command(book));
    states.push_back(Take(book));
  }
  for (std::size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_NE(history.Undo(book), nullptr);
    EXPECT_EQ(Take(book), states[i - 1]) << "after undoing step " << i;
  }
  EXPECT_EQ(history.Undo(book), nullptr);
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_NE(history.Redo(book), nullptr);
    EXPECT_EQ(Take(book), states[i]) << "after redoing step " << i;
  }
  EXPECT_EQ(history.Redo(book), nullptr);
}

TEST(EditHistory, ANewStepForgetsWhatCouldBeRedone) {
  GradeBook book = Book();
  EditHistory history;
  history.Push(kSteps[0].Command(book));
  history.Undo(book);
  ASSERT_TRUE(history.CanRedo());
  history.Push(kSteps[2].Command(book));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_TRUE(history.CanUndo());
}

TEST(EditHistory, StepsThatChangeNothingAreNotKept) {
  GradeBook book = Book();
  EditHistory history;
  history.Push(EditStep{});
  // Typed and typed back: from the first state to the same state.
  const std::string original = book.GradeLines[0];
  EditStep step = TypeInto(book, 0, {"8", "80"});
  ASSERT_EQ(book.GradeLines[0], original);
  EXPECT_TRUE(step.Empty());
  history.Push(step);
  EXPECT_FALSE(history.CanUndo());

  history.Clear();
  history.Push(kSteps[0].Command(book));
  history.Clear();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

// The saved point: undo and redo say whether the lines are what the file
// holds. Each row is a run of actions from a file just opened; after each
// action the book must be modified (1) or not (0).
struct SavedPointCase {
  const char* Name;
  const char* Actions;   // e push a step, u undo, r redo, s save
  const char* Modified;  // after each action
};
void PrintTo(const SavedPointCase& c, std::ostream* os) { *os << c.Name; }

const SavedPointCase kSavedPoints[] = {
    {"undo to the opened state", "eeuu", "1110"},
    {"redo away from it and back", "euru", "1010"},
    {"undo to the saved state", "eseeuu", "101110"},
    {"redo to the saved state", "esur", "1010"},
    {"saved state lost to a new step", "eesueuu", "1101111"},
    {"saved after an undo", "eeusru", "111010"},
};

class EditHistorySavedPoint : public ::testing::TestWithParam<SavedPointCase> {};

TEST_P(EditHistorySavedPoint, UndoAndRedoKnowIt) {
  GradeBook book = Book();
  EditHistory history;
  history.Clear();  // as opening does
  int typed = 0;
  const std::string actions = GetParam().Actions;
  for (std::size_t i = 0; i < actions.size(); ++i) {
    switch (actions[i]) {
      case 'e': {
        // A new grade each time, so that no step is the one before it again.
        const std::string text = std::to_string(50 + ++typed);
        EditStep step;
        step.Add(book.RewriteGrades(1, text.c_str(), "", ""));
        history.Push(step);
        break;
      }
      case 'u': ASSERT_NE(history.Undo(book), nullptr); break;
      case 'r': ASSERT_NE(history.Redo(book), nullptr); break;
      case 's':
        book.Modified = false;  // what a successful save leaves
        history.MarkSaved();
        break;
    }
    EXPECT_EQ(book.Modified, GetParam().Modified[i] == '1') << "after action " << i + 1 << " '" << actions[i] << "'";
  }
}

// Where undo shows a step: the course, the student and the first grade that
// differs; a header line alone names only its course.
struct PlaceCase {
  const char* Name;
  std::function<EditStep(GradeBook&)> Command;
  StepPlace Expected;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.Name; }

class EditStepPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(EditStepPlaces, NameTheCellTheTeacherChanged) {
  GradeBook book = Book();
  const StepPlace place = PlaceOf(GetParam().Command(book));
  EXPECT_EQ(place.Key, GetParam().Expected.Key);
  EXPECT_EQ(place.Number, GetParam().Expected.Number);
  EXPECT_EQ(place.Column, GetParam().Expected.Column);
}

const PlaceCase kPlaces[] = {
    {"coursework", [](GradeBook& b) { return TypeInto(b, 0, {"85"}); }, {"K0001", "2022000001", 4}},
    {"examination",
     [](GradeBook& b) {
       EditStep step;
       step.Add(b.RewriteGrades(2, "70", "88", " 49"));
       return step;
     },
     {"K0002", "2022000003", 5}},
    {"total only",
     [](GradeBook& b) {
       EditStep step;
       step.Add(b.RewriteGrades(0, "80", "90", " 88"));
       return step;
     },
     {"K0001", "2022000001", 6}},
    {"an unchanged record is passed over",
     [](GradeBook& b) {
       EditStep step;
       step.Add(std::vector<RecordChange>{b.RewriteGrades(0, "80", "90", " 87"), b.RewriteGrades(1, "", "1", "")});
       return step;
     },
     {"K0001", "2022000002", 5}},
    {"share line added",
     [](GradeBook& b) {
       EditStep step;
       step.Add(*b.StoreShare(1, "40"));
       return step;
     },
     {"K0002", "", 0}},
    {"nothing", [](GradeBook&) { return EditStep{}; }, {"", "", 0}},
};
INSTANTIATE_TEST_SUITE_P(SavedPoints, EditHistorySavedPoint, ::testing::ValuesIn(kSavedPoints),
                         RowName<SavedPointCase>);
INSTANTIATE_TEST_SUITE_P(Places, EditStepPlaces, ::testing::ValuesIn(kPlaces), RowName<PlaceCase>);

}  // namespace
