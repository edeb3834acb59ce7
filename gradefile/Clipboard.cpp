#include "gradefile/Clipboard.h"

#include <algorithm>

#include "text/Blanks.h"

CellBlock SplitClipboardText(std::string_view text) {
  CellBlock rows;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", i);
    const std::string_view line = text.substr(i, end == std::string_view::npos ? text.npos : end - i);
    std::vector<std::string>& row = rows.emplace_back();
    std::size_t from = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', from);
      row.emplace_back(line.substr(from, tab == std::string_view::npos ? line.npos : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    if (end == std::string_view::npos) break;
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return rows;
}

std::string JoinClipboardText(const CellBlock& rows) {
  std::string text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0) text += '\n';
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      if (c > 0) text += '\t';
      text += rows[r][c];
    }
  }
  return text;
}

bool IsCellBlock(std::string_view text) { return text.find_first_of("\t\r\n") != text.npos; }

PastePlan PlanPaste(const CellBlock& rows, StudentCell start, int students) {
  PastePlan plan;
  const int firstField = static_cast<int>(start.Field);
  const int room = kGradeFields - firstField;
  const int firstStudent = std::max(start.Student, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int student = firstStudent + static_cast<int>(r);
    if (student >= students) {
      plan.RowsLeftOut = static_cast<int>(rows.size() - r);
      break;
    }
    const int width = static_cast<int>(rows[r].size());
    plan.ColumnsCut = std::max(plan.ColumnsCut, width - room);
    for (int c = 0; c < std::min(width, room); ++c)
      plan.Cells.push_back({{student, static_cast<GradeField>(firstField + c)},
                            std::string(TrimmedBlanks(rows[r][static_cast<std::size_t>(c)]))});
  }
  return plan;
}
