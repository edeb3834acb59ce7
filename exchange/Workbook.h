#pragma once
// A workbook as the export lays it out, cell by cell, for the module that
// writes it with libxlsxwriter (exchange/xlsx): the core decides every
// text, number, look and width; the module only writes them.
#include <cstdint>
#include <string>
#include <vector>

namespace exchange {

enum class CellLook : std::uint8_t { Plain, Bold, Heading, Centered };

struct WorkbookCell {
  std::uint32_t Row = 0;
  std::uint16_t Column = 0;
  bool IsNumber = false;
  double Number = 0;
  std::string Text;  // UTF-8, when not a number
  CellLook Look = CellLook::Plain;
};

struct WorksheetPlan {
  std::string Name;  // UTF-8, as Excel allows it
  std::vector<WorkbookCell> Cells;
  std::vector<double> ColumnWidths;  // in widths of a digit, from column 0
  // The table's heading row: the rows down to it stay in sight, and it is
  // repeated on every printed page (one A4 page wide, centred).
  std::uint32_t HeadingRow = 0;
};

// The module's entry point: writes the sheets into a new workbook at
// `path`; false when it cannot, with the library's reason in `why`, or
// none when the workbook could not even be made.
using WriteWorkbookFunction = bool(const char* path, const std::vector<WorksheetPlan>& sheets, std::string& why);
inline constexpr char kWorkbookModule[] = "gradesheet-xlsx";
inline constexpr char kWriteWorkbookSymbol[] = "gradesheet_write_workbook";

}  // namespace exchange
