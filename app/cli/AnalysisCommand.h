#pragma once
// gradesheet-cli analysis: the course analysis as a table, or its pages as a
// PDF or a picture. Returns the exit code (0 done, 1 bad usage, 2 a file
// cannot be read or written).
#include "app/cli/CommandLine.h"

int RunAnalysis(const cli::Invocation& call);
