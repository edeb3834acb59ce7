#include "text/ReadNumber.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "text/Blanks.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Which way a number that long double cannot hold went: true when its
// magnitude is too large, false when it is too small.
bool TooLarge(std::string_view mantissa, std::string_view exponent) {
  long long magnitude = 0;  // decimal position of the first significant digit
  std::size_t point = mantissa.find('.');
  std::string_view whole = mantissa.substr(0, point);
  std::size_t first = whole.find_first_not_of('0');
  if (first != std::string_view::npos) {
    magnitude = static_cast<long long>(whole.size() - first);
  } else if (point != std::string_view::npos) {
    std::string_view fraction = mantissa.substr(point + 1);
    std::size_t nonzero = fraction.find_first_not_of('0');
    magnitude = -static_cast<long long>(nonzero == std::string_view::npos ? fraction.size() : nonzero);
  }
  long long exp = 0;
  bool negative = false;
  for (char c : exponent) {
    if (c == '-') negative = true;
    if (IsDigit(c) && exp < 1'000'000'000LL) exp = exp * 10 + (c - '0');
  }
  return magnitude + (negative ? -exp : exp) > 0;
}

}  // namespace

SignedDigits ScanSignedDigits(std::string_view text) {
  SignedDigits s;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    s.Negative = text[0] == '-';
    s.Begin = 1;
  }
  s.End = s.Begin;
  while (s.End < text.size() && IsDigit(text[s.End])) ++s.End;
  return s;
}

long double ReadNumber(std::string_view text) {
  text = TrimmedBlanks(text);

  const SignedDigits whole = ScanSignedDigits(text);
  const bool negative = whole.Negative;
  const std::size_t mantissaStart = whole.Begin;
  std::size_t i = whole.End;
  std::size_t digits = whole.End - whole.Begin;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0L;  // no number at the start
  const std::size_t mantissaEnd = i;
  // An exponent counts only when at least one digit follows the letter.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  std::string_view number = text.substr(mantissaStart, i - mantissaStart);
  if (digits == number.size() && digits <= 18) {
    // Whole numbers of up to 18 digits are exact in 64 bits: the common grade
    // needs no decimal conversion.
    std::uint64_t whole = 0;
    for (char c : number) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    const auto value = static_cast<long double>(whole);
    return negative ? -value : value;
  }
  long double value = 0.0L;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
    std::string_view exponent = text.substr(mantissaEnd, i - mantissaEnd);
    value = TooLarge(mantissa, exponent) ? std::numeric_limits<long double>::infinity() : 0.0L;
  } else if (ec != std::errc()) {
    value = 0.0L;
  }
  return negative ? -value : value;
}
