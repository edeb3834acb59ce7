#pragma once
// The sheet commands of gradesheet-cli: the grade sheet as text on its grid,
// as a PDF, and its statistics. Each takes the words after its name and
// returns the exit code (0 done, 1 bad usage, 2 the file cannot be used).
#include <span>
#include <string>

int RunSheetText(std::span<const std::string> args);
int RunSheetPdf(std::span<const std::string> args);
int RunSheetStats(std::span<const std::string> args);

// Usage words and help lines of the three commands, for the command table.
extern const char* const kSheetTextUsage;
extern const char* const kSheetTextHelp;
extern const char* const kSheetPdfUsage;
extern const char* const kSheetPdfHelp;
extern const char* const kSheetStatsUsage;
extern const char* const kSheetStatsHelp;
