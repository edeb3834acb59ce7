#pragma once
// Which columns of a CSV file an import takes: what the caller named (a
// column number, a heading, or nothing, which looks for the usual headings)
// and how the words of one candidate heading line answer that; and the
// message of a failure. Parts of Import.cpp, apart so that each can be read
// on its own (ImportColumns.cpp, ImportTexts.cpp).
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "exchange/Import.h"

namespace exchange::importing {

// What the caller asked for one column.
struct Want {
  enum Kind { Off, Auto, Number, Text } kind = Off;
  std::size_t number = 0;  // Number: 1-based
  std::string text;        // Text: the heading, as HeadingKey makes it
  std::string asGiven;     // GBK, for the message
};

// The request as typed (GBK): blank gives Auto when `autoWhenEmpty`, else
// Off; up to six digits name a column from 1; anything else is a heading.
Want WantOf(const std::string& request, bool autoWhenEmpty);

enum Role { kStudent, kCoursework, kExamination };

// The columns of one candidate heading line: 1-based, 0 when not found.
struct Resolution {
  std::array<std::size_t, 3> column{};
  bool textual = false;  // some column was found by its heading
  ImportFailure failure = ImportFailure::None;
  const Want* missing = nullptr;  // the named column that is not there
};

// True when a heading key (as HeadingKey makes it) is one that Auto takes
// for `role`.
bool HeadingSuits(Role role, const std::string& key);

// The columns `wants` (by Role) find among the heading keys of a line (as
// HeadingKey makes them); a column is taken by one role only. Auto finds
// 学号 / student (not "student name"), 平时 / coursework, 考试 / 卷面 / exam.
Resolution Resolve(const std::array<Want, 3>& wants, const std::vector<std::string>& keys);

// The message of a failure (UTF-8, without the path): `line` for an
// unclosed quote, `missing` for a named column that is not there.
std::string FailureText(ImportFailure failure, std::size_t line, const Want* missing);

}  // namespace exchange::importing
