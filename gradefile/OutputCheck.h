#pragma once
// The one rule for every file the programs write besides the grade file
// itself (an export, a PDF of the sheet): it never replaces a file the
// command reads, nor any grade file, which a slip of the save dialog would
// otherwise turn into a spreadsheet with the teacher's grades gone.
#include <span>
#include <string>

// True when `path` is an existing regular file whose first line is the
// grade file's magic line. Reads the first line only; never blocks.
bool IsGradeFile(const std::string& path);

// Asked before writing `out`: the message (UTF-8) why it must not be
// written, or empty when it may. An output never replaces one of the
// `inputs` (also through a link or another name of the same file), nor any
// grade file.
std::string OutputRefusal(const std::string& out, std::span<const std::string> inputs);
