#pragma once

#include <cstdio>

#include "cli/CliOptions.h"

namespace corvale {

// Runs the awards of the command line: checks and reads the log once, runs each award on it and
// replaces all their files together. Returns the exit status: 0 done, 1 the log or a file
// failed (one sentence on `err`, no file changed).
int RunCommandLine(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace corvale
