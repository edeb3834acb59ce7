// The grade editor's moves over the student grid.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "gradefile/GridMoves.h"

// A failed comparison shows the cells as (row, column).
void PrintTo(const GridCell& cell, std::ostream* os) { *os << '(' << cell.Row << ", " << cell.Col << ')'; }

namespace {

struct MoveCase {
  const char* Name;
  GridCell From;
  EditorMove Move;
  int LastRow;
  std::optional<GridCell> To;  // nothing: the editor stays
};
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.Name; }

class EditorMoveTable : public ::testing::TestWithParam<MoveCase> {};

TEST_P(EditorMoveTable, GoesToTheCellOrStays) {
  const MoveCase& c = GetParam();
  EXPECT_EQ(EditorMoveTarget(c.From, c.Move, c.LastRow), c.To);
}

using enum EditorMove;
constexpr std::optional<GridCell> kStays;

INSTANTIATE_TEST_SUITE_P(
    Moves, EditorMoveTable,
    ::testing::Values(MoveCase{"Enter goes down", {2, 5}, Down, 3, GridCell{3, 5}},
                      MoveCase{"Enter on the last row stays", {3, 5}, Down, 3, kStays},
                      MoveCase{"Up goes up", {2, 4}, Up, 3, GridCell{1, 4}},
                      MoveCase{"Up on the first row stays", {1, 6}, Up, 3, kStays},
                      MoveCase{"Tab goes right", {1, 4}, Next, 3, GridCell{1, 5}},
                      MoveCase{"Tab after the total wraps to the next row", {1, 6}, Next, 3, GridCell{2, 4}},
                      MoveCase{"Tab after the last total stays", {3, 6}, Next, 3, kStays},
                      MoveCase{"Shift Tab goes left", {2, 6}, Previous, 3, GridCell{2, 5}},
                      MoveCase{"Shift Tab before the coursework wraps to the row above", {2, 4}, Previous, 3,
                               GridCell{1, 6}},
                      MoveCase{"Shift Tab before the first coursework stays", {1, 4}, Previous, 3, kStays},
                      MoveCase{"the placeholder row of a course without students", {1, 4}, Down, 1, kStays},
                      MoveCase{"no rows at all", {1, 4}, Next, 0, kStays},
                      MoveCase{"Down outside the grade columns stays", {1, 3}, Down, 3, kStays}),
    [](const ::testing::TestParamInfo<MoveCase>& info) {
      std::string name;
      for (const char* c = info.param.Name; *c != '\0'; ++c) name += *c == ' ' ? '_' : *c;
      return name;
    });

}  // namespace
