#include "gradefile/FindStudent.h"

#include <algorithm>
#include <unordered_map>

#include "gradefile/Record.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), FoldAscii);
  return out;
}

// Without ASCII blanks and the ideographic blank (U+3000 in UTF-8).
std::string WithoutBlanks(std::string_view text) {
  static constexpr std::string_view kWideBlank = "\xE3\x80\x80";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
    } else if (text.substr(i, kWideBlank.size()) == kWideBlank) {
      i += kWideBlank.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace

std::vector<StudentEntry> StudentsInListOrder(const GradeBook& book) {
  // The records of each key in file order, found in one pass: a file of
  // thousands of courses is not read once per course.
  std::unordered_map<std::string_view, std::vector<std::size_t>> byKey;
  for (std::size_t j = 0; j < book.GradeLines.size(); ++j) byKey[KeyOf(book.GradeLines[j])].push_back(j);
  std::vector<StudentEntry> students;
  for (std::size_t c = 0; c < book.CourseKeys.size(); ++c) {
    const auto records = byKey.find(book.CourseKeys[c]);
    if (records == byKey.end()) continue;
    int student = 0;
    for (const std::size_t j : records->second) {
      const std::string& line = book.GradeLines[j];
      students.push_back({c, student++, std::string(Field(line, record::Number)),
                          std::string(Field(line, record::Name))});
    }
  }
  return students;
}

bool StudentMatches(const StudentEntry& student, std::string_view query) {
  const std::string wanted = Folded(TrimmedBlanks(query));
  if (wanted.empty()) return false;
  if (Folded(GbkToUtf8(TrimmedBlanks(student.Number))).starts_with(wanted)) return true;
  const std::string name = WithoutBlanks(Folded(GbkToUtf8(student.Name)));
  const std::string part = WithoutBlanks(wanted);
  return !part.empty() && name.find(part) != std::string::npos;
}

std::optional<std::size_t> FindNextStudent(const std::vector<StudentEntry>& students,
                                           std::string_view query, long after) {
  const std::size_t n = students.size();
  if (n == 0) return std::nullopt;
  const std::size_t start = after < 0 || static_cast<std::size_t>(after) >= n
                                ? 0
                                : static_cast<std::size_t>(after) + 1;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t i = (start + k) % n;
    if (StudentMatches(students[i], query)) return i;
  }
  return std::nullopt;
}
