#pragma once
// Where the grade editor goes from its cell when a key moves it. The student
// grid has the heading in row 0 and students in rows 1..lastRow; only the
// grade columns (coursework, examination, total) take the editor.
#include <optional>

inline constexpr int kFirstGradeColumn = 4;
inline constexpr int kLastGradeColumn = 6;

struct GridCell {
  int Row = 0;
  int Col = 0;
  bool operator==(const GridCell&) const = default;
};

enum class EditorMove {
  Down,      // Enter, Down: the cell below
  Up,        // Up: the cell above
  Next,      // Tab: the next grade column, after the last one the first of the next row
  Previous,  // Shift+Tab: the previous grade column, before the first the last of the row above
};

// The cell the editor moves to, or nothing when the move would leave the
// students (above row 1, below lastRow) or, for Down and Up, the grade columns.
std::optional<GridCell> EditorMoveTarget(GridCell from, EditorMove move, int lastRow);
