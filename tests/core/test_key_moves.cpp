// The grid's keys in students and grade fields: where the grade editor
// moves, the block Shift+arrows and Ctrl+A select, the finding F8 and
// Shift+F8 go to.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "gradefile/KeyMoves.h"

void PrintTo(const StudentCell& cell, std::ostream* os) {
  *os << '(' << cell.Student << ", " << static_cast<int>(cell.Field) << ')';
}
void PrintTo(const GradeBlock& block, std::ostream* os) {
  PrintTo(block.Anchor, os);
  *os << "..";
  PrintTo(block.Extent, os);
}

namespace {

using enum GradeField;

namespace editor_moves {

struct MoveCase {
  const char* Name;
  StudentCell From;
  EditorMove Move;
  int Students;
  std::optional<StudentCell> To;  // nothing: the editor stays
};
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.Name; }

class EditorMoveTable : public ::testing::TestWithParam<MoveCase> {};

TEST_P(EditorMoveTable, GoesToTheCellOrStays) {
  const MoveCase& c = GetParam();
  EXPECT_EQ(EditorMoveTarget(c.From, c.Move, c.Students), c.To);
}

using enum EditorMove;
constexpr std::optional<StudentCell> kStays;

INSTANTIATE_TEST_SUITE_P(
    Moves, EditorMoveTable,
    ::testing::Values(
        MoveCase{"Enter goes down", {1, Examination}, Down, 3, StudentCell{2, Examination}},
        MoveCase{"Enter on the last student stays", {2, Examination}, Down, 3, kStays},
        MoveCase{"Up goes up", {1, Coursework}, Up, 3, StudentCell{0, Coursework}},
        MoveCase{"Up on the first student stays", {0, Total}, Up, 3, kStays},
        MoveCase{"Tab goes right", {0, Coursework}, Next, 3, StudentCell{0, Examination}},
        MoveCase{"Tab after the total wraps to the next student", {0, Total}, Next, 3, StudentCell{1, Coursework}},
        MoveCase{"Tab after the last total stays", {2, Total}, Next, 3, kStays},
        MoveCase{"Shift Tab goes left", {1, Total}, Previous, 3, StudentCell{1, Examination}},
        MoveCase{"Shift Tab before the coursework wraps to the student above", {1, Coursework}, Previous, 3,
                 StudentCell{0, Total}},
        MoveCase{"Shift Tab before the first coursework stays", {0, Coursework}, Previous, 3, kStays},
        MoveCase{"the placeholder row of a course without students", {0, Coursework}, Down, 1, kStays},
        MoveCase{"no rows at all", {0, Coursework}, Next, 0, kStays}),
    [](const ::testing::TestParamInfo<MoveCase>& info) {
      std::string name;
      for (const char* c = info.param.Name; *c != '\0'; ++c) name += *c == ' ' ? '_' : *c;
      return name;
    });

}  // namespace editor_moves

using enum BlockKey;

struct BlockCase {
  const char* Name;
  GradeBlock From;
  std::vector<BlockKey> Keys;
  int Students;
  GradeBlock To;
};
void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.Name; }

class ExtendBlockTable : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ExtendBlockTable, MovesTheFarCorner) {
  const BlockCase& c = GetParam();
  GradeBlock block = c.From;
  for (BlockKey key : c.Keys) block = ExtendBlock(block, key, c.Students);
  EXPECT_EQ(block, c.To);
}

constexpr StudentCell kExam2{2, Examination};

INSTANTIATE_TEST_SUITE_P(
    Keys, ExtendBlockTable,
    ::testing::Values(
        BlockCase{"Shift+Right widens", {kExam2, kExam2}, {Right}, 5, {kExam2, {2, Total}}},
        BlockCase{"Shift+Right stops at the total", {kExam2, kExam2}, {Right, Right, Right}, 5, {kExam2, {2, Total}}},
        BlockCase{"Shift+Left stops at the coursework", {kExam2, kExam2}, {Left, Left}, 5, {kExam2, {2, Coursework}}},
        BlockCase{"Shift+Down twice", {kExam2, kExam2}, {Down, Down}, 5, {kExam2, {4, Examination}}},
        BlockCase{"Shift+Down stops at the last student", {kExam2, kExam2}, {Down, Down, Down}, 5,
                  {kExam2, {4, Examination}}},
        BlockCase{"Shift+Up past the anchor turns", {kExam2, {3, Examination}}, {Up, Up}, 5,
                  {kExam2, {1, Examination}}},
        BlockCase{"Shift+Up stops at the first student", {kExam2, kExam2}, {Up, Up, Up}, 5, {kExam2, {0, Examination}}},
        BlockCase{"Shift+Home to the coursework", {kExam2, {3, Total}}, {RowStart}, 5, {kExam2, {3, Coursework}}},
        BlockCase{"Shift+End to the total", {kExam2, kExam2}, {RowEnd}, 5, {kExam2, {2, Total}}},
        BlockCase{"Ctrl+Shift+Home and End", {kExam2, kExam2}, {Top}, 5, {kExam2, {0, Examination}}},
        BlockCase{"Ctrl+Shift+End", {kExam2, kExam2}, {Bottom}, 5, {kExam2, {4, Examination}}},
        BlockCase{"Ctrl+A all grade cells", {kExam2, kExam2}, {All}, 5, {{0, Coursework}, {4, Total}}},
        BlockCase{"a course that got shorter", {{7, Examination}, {8, Examination}}, {Left}, 5,
                  {{4, Examination}, {4, Coursework}}},
        BlockCase{"no students keeps the block", {kExam2, kExam2}, {All, Down}, 0, {kExam2, kExam2}}));

TEST(GradeBlock, CornersAndCells) {
  const GradeBlock block{{3, Total}, {1, Examination}};
  EXPECT_EQ(block.FirstStudent(), 1);
  EXPECT_EQ(block.LastStudent(), 3);
  EXPECT_EQ(block.FirstField(), Examination);
  EXPECT_EQ(block.LastField(), Total);
  EXPECT_TRUE(block.Contains({2, Examination}));
  EXPECT_FALSE(block.Contains({2, Coursework}));
  EXPECT_FALSE(block.Contains({4, Total}));
}

GradeFinding At(std::size_t line, FindingColumn column, FindingKind kind = FindingKind::Unrecognised) {
  GradeFinding f;
  f.LineIndex = line;
  f.Column = column;
  f.Kind = kind;
  return f;
}

struct FindingCase {
  const char* Name;
  FindingPlace From;
  bool Backward;
  std::optional<std::size_t> To;
};
void PrintTo(const FindingCase& c, std::ostream* os) { *os << c.Name; }

// A course's findings as the check lists them: in record order, within a
// record by field, a total with two findings, a repeated number last.
const std::vector<GradeFinding>& Findings() {
  static const std::vector<GradeFinding> findings{
      At(4, FindingColumn::Exam),                                      // 0
      At(6, FindingColumn::Total, FindingKind::ReadAsZero),            // 1
      At(6, FindingColumn::Total, FindingKind::TotalMismatch),         // 2
      At(9, FindingColumn::Coursework),                                // 3
      At(9, FindingColumn::None, FindingKind::DuplicateStudent),       // 4
      At(12, FindingColumn::Coursework)};                              // 5
  return findings;
}

class NextFindingTable : public ::testing::TestWithParam<FindingCase> {};

TEST_P(NextFindingTable, GoesToTheNearestCellWithAFinding) {
  const FindingCase& c = GetParam();
  EXPECT_EQ(NextFinding(Findings(), c.From, c.Backward), c.To);
}

constexpr std::optional<std::size_t> kNone;

INSTANTIATE_TEST_SUITE_P(
    Steps, NextFindingTable,
    ::testing::Values(FindingCase{"F8 from above all", {2, Total}, false, 0},
                      FindingCase{"F8 from a cell with a finding", {4, Examination}, false, 1},
                      FindingCase{"two findings of one cell are one stop", {6, Total}, false, 3},
                      FindingCase{"a later field of the same record", {6, Coursework}, false, 1},
                      FindingCase{"a repeated number is at the coursework", {9, Coursework}, false, 5},
                      FindingCase{"F8 after the last starts again", {12, Coursework}, false, 0},
                      FindingCase{"Shift+F8 goes back", {9, Coursework}, true, 1},
                      FindingCase{"Shift+F8 from the first ends at the last", {4, Examination}, true, 5},
                      FindingCase{"Shift+F8 between two", {7, Examination}, true, 1}));

TEST(NextFinding, NoneOrOnlyHere) {
  EXPECT_EQ(NextFinding({}, {0, Coursework}, false), kNone);
  const std::vector<GradeFinding> one{At(3, FindingColumn::Exam)};
  EXPECT_EQ(NextFinding(one, {3, Examination}, false), kNone);
  EXPECT_EQ(NextFinding(one, {3, Examination}, true), kNone);
  EXPECT_EQ(NextFinding(one, {5, Total}, false), std::optional<std::size_t>(0));
}

}  // namespace
