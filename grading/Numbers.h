#pragma once
// Rounding rules shared by the whole program.
#include <cstdint>
#include <string>

// Nearest integer, an exact half to the even neighbour (84.5 -> 84, 85.5 -> 86).
// Values outside the 64-bit range saturate.
std::int64_t RoundHalfEven(long double value);

// The one Round of page metrics and unit conversions (ties to even), 32-bit.
std::int32_t Round(double value);

// num/den written with `decimals` decimals, the exact quotient rounded half
// away from zero (625/8 with 2 -> "78.13"), right-aligned in `width`.
// den must not be 0.
std::string FormatQuotient(std::int64_t num, std::int64_t den, int decimals, int width);

// A real value written with `decimals` decimals, exact half away from zero
// (33.5 with 0 -> "34"), right-aligned in `width`.
std::string FormatFixed(long double value, int decimals, int width);

// An integer right-aligned in `width` (more characters when it needs more).
std::string FormatInt(std::int64_t value, int width);
