// The workbook module: writes a laid-out workbook with libxlsxwriter. Loaded
// only when a workbook is exported, so that the library and what it links
// stay out of every start.
#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <memory>
#include <string>

#include "exchange/Workbook.h"
#include "text/Texts.h"

namespace {

// The library prints its own errors ("[ERROR] workbook_close(): ...", in
// English) on standard error; the caller says what went wrong in its own
// words, so standard error points nowhere while the library works.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(::dup(STDERR_FILENO)) {
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

// Why the library failed, in the program's words; `code` is errno as the
// library left it.
std::string Reason(lxw_error error, int code) {
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return std::string(texts::kWorkbookNoMemory);
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE: return std::string(texts::kWorkbookSheetName);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: return std::string(texts::kWorkbookTextTooLong);
    default: break;
  }
  std::string why(texts::kWorkbookNotWritten);
  if (code == ENOSPC || code == EDQUOT) why += "：" + std::string(texts::kDiskFull);
  else if (code == EFBIG) why += "：" + std::string(texts::kTooLarge);
  else if (code == EACCES || code == EPERM) why += "：" + std::string(texts::kPermission);
  else why += "（" + texts::SystemError(static_cast<int>(error)) + "）";
  return why;
}

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
  const QuietStandardError quiet;
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
  errno = 0;
  const lxw_error closed = workbook_close(wb.release());
  const int code = errno;
  if (error == LXW_NO_ERROR) error = closed;
  if (error != LXW_NO_ERROR) why = Reason(error, code);
  return error == LXW_NO_ERROR;
}
