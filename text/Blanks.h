#pragma once
// Blanks around a grade-file field: the file pads its fixed-width fields
// with ASCII blanks (byte 32), and only those are trimmed; a full-width blank
// or a tab is text.
#include <string>
#include <string_view>

// The part of `text` without blanks at its ends (a view into `text`).
std::string_view TrimmedBlanks(std::string_view text);

// The same trimming in place.
void TrimBlanks(std::string& text);
