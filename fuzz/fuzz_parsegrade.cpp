// Grade text parser, number reading, totals and the codec on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grading/GradeParser.h"
#include "grading/Numbers.h"
#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  std::int32_t score = -1;
  GradeCode code = ParseGrade(text, score);
  Check(code >= GradeCode::NotRecognised && code <= GradeCode::LevelF);
  Check(code == GradeCode::Number || score == 0);
  Check(code != GradeCode::Number || score >= 0);  // signs are dropped before reading

  // Blanks around a grade never change its reading.
  std::string padded = "  " + std::string(text) + " ";
  std::string trimmed = padded;
  TrimBlanks(trimmed);
  Check(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
  Check(padded.find(trimmed) != std::string::npos);

  // Three texts for a total: split the input in three.
  std::string_view a = text.substr(0, size / 3), b = text.substr(size / 3, size / 3), c = text.substr(2 * (size / 3));
  std::string total = ComputeTotal(a, b, c);
  Check(total.size() >= 3);
  (void)ReadNumber(text);

  std::string utf8 = GbkToUtf8(text);
  if (auto back = Utf8ToGbk(utf8)) (void)GbkToUtf8(*back);
  (void)Utf8ToGbk(text);

  if (size >= 2) {
    std::int64_t num = static_cast<std::int8_t>(data[0]) * 1000 + data[1];
    std::int64_t den = static_cast<std::int8_t>(data[size - 1]);
    if (den != 0) Check(!FormatQuotient(num, den, data[0] % 5, 6).empty());
    (void)FormatFixed(ReadNumber(text), data[1] % 4, 6);
  }
  return 0;
}
