#pragma once
// Field windows of a grade-file line: positions count bytes from 1; a window
// past the end of the line yields fewer bytes or none and never fails.
#include <cstddef>
#include <string_view>

constexpr std::string_view Field(std::string_view line, std::size_t pos, std::size_t width) {
  if (pos == 0 || pos > line.size()) return {};
  return line.substr(pos - 1, width);
}

constexpr std::string_view FieldFrom(std::string_view line, std::size_t pos) {
  if (pos == 0 || pos > line.size()) return {};
  return line.substr(pos - 1);
}

constexpr std::string_view KeyOf(std::string_view line) { return Field(line, 1, 5); }
constexpr std::string_view TagOf(std::string_view line) { return Field(line, 6, 2); }
constexpr bool IsGradeRecord(std::string_view line) { return TagOf(line) == "cj"; }
