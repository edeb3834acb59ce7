#pragma once
// The sheet commands of gradesheet-cli: the grade sheet as text on its grid,
// as a PDF, and its statistics. Each takes what the command line asked for
// and returns the exit code (0 done, 1 bad usage, 2 a file cannot be read
// or written).
#include "app/cli/CommandLine.h"

int RunSheetText(const cli::Invocation& call);
int RunSheetPdf(const cli::Invocation& call);
int RunSheetStats(const cli::Invocation& call);
