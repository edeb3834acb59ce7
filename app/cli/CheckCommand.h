#pragma once
// gradesheet-cli check: every suspicious grade of a grade file, one line
// each, for a school office that looks over files before importing them.
// Exit 0 when the file is clean, 3 when there are findings, 1 on bad usage,
// 2 when the file cannot be used.
#include "app/cli/CommandLine.h"

int RunCheck(const cli::Invocation& call);
