#include "gradefile/GridMoves.h"

std::optional<GridCell> EditorMoveTarget(GridCell from, EditorMove move, int lastRow) {
  GridCell to = from;
  switch (move) {
    case EditorMove::Down: ++to.Row; break;
    case EditorMove::Up: --to.Row; break;
    case EditorMove::Next:
      if (++to.Col > kLastGradeColumn) {
        to.Col = kFirstGradeColumn;
        ++to.Row;
      }
      break;
    case EditorMove::Previous:
      if (--to.Col < kFirstGradeColumn) {
        to.Col = kLastGradeColumn;
        --to.Row;
      }
      break;
  }
  if (to.Col < kFirstGradeColumn || to.Col > kLastGradeColumn) return std::nullopt;
  if (to.Row < 1 || to.Row > lastRow) return std::nullopt;
  return to;
}
