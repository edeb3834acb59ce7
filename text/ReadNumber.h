#pragma once
// How the total rule reads a grade cell or a share as a number.
#include <cstddef>
#include <string_view>

// Blanks trimmed, then sign, digits, point and exponent as far as they go;
// text without a number at its start reads as 0. A number too large for
// long double reads as infinity, one too small as 0.
long double ReadNumber(std::string_view text);

// The optional sign and the run of decimal digits at the start of `text`
// (nothing trimmed): the digits are text[Begin, End), none when Begin == End.
struct SignedDigits {
  bool Negative = false;
  std::size_t Begin = 0;
  std::size_t End = 0;
};
SignedDigits ScanSignedDigits(std::string_view text);
