#pragma once
// gradesheet-cli export: the courses of a grade file as an Excel workbook or
// CSV. Exit codes: 0 done, 1 bad usage, 2 the grade file cannot be used or
// the output cannot (or must not) be written.
#include <span>
#include <string>

int RunExport(std::span<const std::string> args);

// Why OUT must not be written, empty when it may: it is the grade file
// itself (by identity, links included) or another grade file.
std::string RefusedOutput(const std::string& out, const std::string& gradeFile);

extern const char* const kExportUsage;
extern const char* const kExportHelp;
