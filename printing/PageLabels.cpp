#include "printing/PageLabels.h"

#include <string_view>

#include "gradefile/GradeBook.h"
#include "text/Blanks.h"
#include "text/Field.h"

namespace {

// The course's name from its "tk" line (positions 8 to 38); its key without one.
std::string CourseName(const GradeBook& book, std::string_view key) {
  for (const std::string& line : book.HeadLines) {
    const std::string_view name = TrimmedBlanks(Field(line, 8, 31));
    if (Field(line, 1, 5) == key && Field(line, 6, 2) == "tk" && !name.empty()) return std::string(name);
  }
  return std::string(key);
}

}  // namespace

std::vector<std::string> PageLabels(const TPageList& pages, const GradeBook& book, bool byClass) {
  const Lines& groups = byClass ? book.ClassGroups : book.CourseKeys;
  std::vector<std::string> labels(pages.size());
  std::size_t first = 0;  // the first page of the run of pages of one group
  while (first < pages.size()) {
    std::size_t end = first + 1;
    while (end < pages.size() && pages[end].GroupIndex == pages[first].GroupIndex) ++end;
    const std::int32_t group = pages[first].GroupIndex;
    if (group >= 0 && static_cast<std::size_t>(group) < groups.size()) {
      const std::string_view entry = groups[static_cast<std::size_t>(group)];
      std::string name = CourseName(book, entry.substr(0, 5));
      if (byClass) {
        const std::string_view klass = TrimmedBlanks(Field(entry, 6, 8));
        if (!klass.empty()) name.append(" ").append(klass);
      }
      for (std::size_t p = first; p < end; ++p)
        labels[p] = name + " (" + std::to_string(p - first + 1) + "/" + std::to_string(end - first) + ")";
    }
    first = end;
  }
  return labels;
}
