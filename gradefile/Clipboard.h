#pragma once
// Grades through the clipboard, as spreadsheets exchange them: rows ended by
// line ends (CR LF, LF or CR), cells parted by tabs. LibreOffice, WPS and
// Excel all copy a block this way and take it back the same way.
//
// The text here is GBK bytes: tabs, CR and LF never occur inside a GBK
// double-byte character (its second byte is 0x40 or higher), so splitting
// the bytes splits the characters correctly.
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GridMoves.h"

using CellBlock = std::vector<std::vector<std::string>>;

// The rows and cells of clipboard text, untrimmed. A line end at the very
// end adds no row; the empty text is no row at all.
CellBlock SplitClipboardText(std::string_view text);

// The cells as a spreadsheet takes them: tabs between cells, LF between rows,
// no line end after the last row.
std::string JoinClipboardText(const CellBlock& rows);

// True when the text is more than one cell (a tab or a line end in it): such
// a paste fills grid cells, a single value goes into the editor's text.
bool IsCellBlock(std::string_view text);

// Where a block lands in the student grid.
struct PasteCell {
  GridCell Cell;
  std::string Text;  // blanks trimmed
};
struct PastePlan {
  std::vector<PasteCell> Cells;  // row by row, left to right: the order of typing
  int RowsLeftOut = 0;           // rows below the course's last student
  int ColumnsCut = 0;            // columns right of the total, per row at most
};

// Lays `rows` out from `start` rightwards and downwards over the grade
// columns of a grid with students in rows 1..lastRow. A start left of the
// grade columns begins at the coursework. Cells right of the total and rows
// past lastRow are left out and counted.
PastePlan PlanPaste(const CellBlock& rows, GridCell start, int lastRow);
