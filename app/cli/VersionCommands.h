#pragma once
#include "app/cli/CommandLine.h"

// gradesheet-cli versions FILE and restore FILE N.
int RunVersions(const cli::Invocation& call);
int RunRestore(const cli::Invocation& call);
