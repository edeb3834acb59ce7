#pragma once
// gradesheet-cli import: grades from a CSV file into one course of a grade
// file. Exit codes: 0 done, 1 bad usage, 2 the grade file is missing, not a
// grade file or cannot be saved, 4 the CSV cannot be read or used.
#include "app/cli/CommandLine.h"

int RunImport(const cli::Invocation& call);
