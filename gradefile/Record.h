#pragma once
// The layout of a grade file's lines. Every line after the magic line starts
// with the 5-byte course key and a 2-byte tag: "cj" lines are student
// records, the others are header lines whose value starts at position 8.
#include <string_view>

#include "text/Field.h"

constexpr std::string_view KeyOf(std::string_view line) { return Field(line, 1, 5); }
constexpr std::string_view TagOf(std::string_view line) { return Field(line, 6, 2); }
constexpr bool IsGradeRecord(std::string_view line) { return TagOf(line) == "cj"; }

// Where a header line's value starts.
inline constexpr std::size_t kHeadValuePos = 8;
// The coursework share on a "t9" line.
inline constexpr FieldWindow kShareField{kHeadValuePos, 6};

// A text as a record or a header line may hold it: bytes that would end a
// line or the whole file when read back (CR, LF, Ctrl-Z) become blanks.
inline std::string FileSafe(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\x1A') c = ' ';
  }
  return out;
}

// The three grade fields of a student record, left to right.
enum class GradeField { Coursework, Examination, Total };
inline constexpr int kGradeFields = 3;

// The fields of a student record; a grade field is 6 bytes wide.
namespace record {
inline constexpr FieldWindow Number{8, 10};
inline constexpr FieldWindow Name{18, 8};
inline constexpr FieldWindow Class{26, 8};
inline constexpr FieldWindow Coursework{34, 6};
inline constexpr FieldWindow Examination{40, 6};
inline constexpr FieldWindow Total{46, 6};
// Positions 52-57, after the grades: kept as they are by every rewrite.
inline constexpr FieldWindow Tail{52, 6};
inline constexpr std::size_t GradeWidth = 6;

// True when a grade text goes into its field whole: every edit, paste,
// import and recompute writes only such texts, so what the grid shows is
// what the file holds.
constexpr bool FitsGradeField(std::string_view text) { return text.size() <= GradeWidth; }
}  // namespace record
