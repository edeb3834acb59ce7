#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// -2 not recognised, -1 cheating, 0 a number (score set), 1..5 levels A..F.
using GradeCode = std::int32_t;

GradeCode ParseGrade(std::string_view text, std::int32_t& score);

// Removes ASCII blanks (byte 32) at both ends, in place; nothing else.
void TrimBlanks(std::string& text);

// The same trimming for a view: the part of `text` without blanks at its ends.
std::string_view TrimmedBlanks(std::string_view text);
