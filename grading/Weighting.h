#pragma once
#include <string>
#include <string_view>

// A grade cell or share read as a number: blanks trimmed, then sign, digits,
// point, exponent as far as they go; anything else reads as 0.
long double ReadNumber(std::string_view text);

// The total text for column 6, from the three texts as they stand:
// share% of coursework plus the rest of examination, in extended precision,
// rounded half to even, right-aligned in 3.
std::string ComputeTotal(std::string_view share, std::string_view coursework, std::string_view examination);
