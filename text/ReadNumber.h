#pragma once
// How the total rule reads a grade cell or a share as a number.
#include <string_view>

// Blanks trimmed, then sign, digits, point and exponent as far as they go;
// text without a number at its start reads as 0. A number too large for
// long double reads as infinity, one too small as 0.
long double ReadNumber(std::string_view text);
