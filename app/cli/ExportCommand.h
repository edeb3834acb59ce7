#pragma once
// gradesheet-cli export: the courses of a grade file as an Excel workbook or
// CSV. Exit codes: 0 done, 1 bad usage, 2 the grade file cannot be used or
// the output cannot (or must not) be written.
#include "app/cli/CommandLine.h"

int RunExport(const cli::Invocation& call);
