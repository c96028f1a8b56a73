#pragma once

#include <cstddef>
#include <cstdio>

#include "cli/CliOptions.h"
#include "logdb/Processors.h"

namespace corvale {

// Runs the awards of the command line: checks and reads the log once, runs each award on it and
// replaces all their files together. Returns the exit status: 0 done, 1 the log or a file
// failed (one sentence on `err`, no file changed). Up to `walksAtOnce` awards are walked at
// the same time; what is written and printed is the same whatever the number.
int RunCommandLine(const CliOptions& options, std::FILE* out, std::FILE* err,
                   std::size_t walksAtOnce = UsableProcessors());

}  // namespace corvale
