// The workbook module: writes a laid-out workbook with libxlsxwriter. Loaded
// only when a workbook is exported, so that the library and what it links
// stay out of every start.
#include <xlsxwriter.h>

#include <array>
#include <memory>

#include "exchange/Workbook.h"

namespace {

using exchange::CellLook;

struct WorkbookCloser {
  void operator()(lxw_workbook* wb) const { workbook_close(wb); }
};

// The first error of the library, or LXW_NO_ERROR.
lxw_error WriteSheet(lxw_worksheet* ws, const exchange::WorksheetPlan& plan,
                     const std::array<lxw_format*, 4>& looks) {
  lxw_error error = LXW_NO_ERROR;
  for (const exchange::WorkbookCell& cell : plan.Cells) {
    lxw_format* look = looks[static_cast<std::size_t>(cell.Look)];
    error = cell.IsNumber ? worksheet_write_number(ws, cell.Row, cell.Column, cell.Number, look)
                          : worksheet_write_string(ws, cell.Row, cell.Column, cell.Text.c_str(), look);
    if (error != LXW_NO_ERROR) return error;
  }
  for (std::size_t c = 0; c < plan.ColumnWidths.size() && error == LXW_NO_ERROR; ++c) {
    const auto column = static_cast<lxw_col_t>(c);
    error = worksheet_set_column(ws, column, column, plan.ColumnWidths[c], nullptr);
  }
  worksheet_freeze_panes(ws, plan.HeadingRow + 1, 0);
  worksheet_set_paper(ws, 9);  // A4
  worksheet_fit_to_pages(ws, 1, 0);
  worksheet_center_horizontally(ws);
  if (error == LXW_NO_ERROR) error = worksheet_repeat_rows(ws, plan.HeadingRow, plan.HeadingRow);
  return error;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) bool gradesheet_write_workbook(
    const char* path, const std::vector<exchange::WorksheetPlan>& sheets, std::string& why) {
  lxw_workbook_options options{};
  std::unique_ptr<lxw_workbook, WorkbookCloser> wb(workbook_new_opt(path, &options));
  if (!wb) return false;  // no reason of the library's: the caller's own words
  lxw_format* bold = workbook_add_format(wb.get());
  format_set_bold(bold);
  lxw_format* heading = workbook_add_format(wb.get());
  format_set_bold(heading);
  format_set_align(heading, LXW_ALIGN_CENTER);
  format_set_bottom(heading, LXW_BORDER_THIN);
  format_set_pattern(heading, LXW_PATTERN_SOLID);
  format_set_bg_color(heading, 0xE8E8E8);
  // Grades in the middle of their cells: numbers and words line up alike.
  lxw_format* centered = workbook_add_format(wb.get());
  format_set_align(centered, LXW_ALIGN_CENTER);
  const std::array<lxw_format*, 4> looks = {nullptr, bold, heading, centered};

  lxw_error error = LXW_NO_ERROR;
  for (std::size_t i = 0; i < sheets.size() && error == LXW_NO_ERROR; ++i) {
    lxw_worksheet* ws = workbook_add_worksheet(wb.get(), sheets[i].Name.c_str());
    error = ws == nullptr ? LXW_ERROR_SHEETNAME_ALREADY_USED : WriteSheet(ws, sheets[i], looks);
  }
  // Closing writes the file; the workbook is gone either way.
  const lxw_error closed = workbook_close(wb.release());
  if (error == LXW_NO_ERROR) error = closed;
  if (error != LXW_NO_ERROR) why = lxw_strerror(error);
  return error == LXW_NO_ERROR;
}
