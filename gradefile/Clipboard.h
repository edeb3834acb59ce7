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

#include "gradefile/KeyMoves.h"

using CellBlock = std::vector<std::vector<std::string>>;

// The rows and cells of clipboard text, untrimmed. A line end at the very
// end adds no row; the empty text is no row at all.
CellBlock SplitClipboardText(std::string_view text);

// The cells as a spreadsheet takes them: tabs between cells, LF between rows,
// no line end after the last row.
std::string JoinClipboardText(const CellBlock& rows);

// True when the text is more than one cell (a tab or a line end in it): such
// a paste fills grade cells, a single value goes into the editor's text.
bool IsCellBlock(std::string_view text);

// Where a block lands among the course's students and their grade fields.
struct PasteCell {
  StudentCell Place;
  std::string Text;  // blanks trimmed
};
struct PastePlan {
  std::vector<PasteCell> Cells;  // student by student, field by field: the order of typing
  int RowsLeftOut = 0;           // rows past the course's last student
  int ColumnsCut = 0;            // columns past the total, per row at most
};

// Lays `rows` out from `start` over the grade fields, a row of the block
// per student, to the following fields and students, among `students`
// students. Cells past the total and rows past the last student are left
// out and counted.
PastePlan PlanPaste(const CellBlock& rows, StudentCell start, int students);
