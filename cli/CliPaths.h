#pragma once

#include <string>

#include "cli/CliOptions.h"

namespace corvale {

// The files and folders of a command-line run: the options where given, otherwise what the
// DXBase and DX Atlas settings in the Wine prefix say.
struct CliPaths {
    std::string sourceMdb;
    std::string lstDir;
    std::string squaresDir;  // only needed with --squares
    // Said on standard error before the run when the files go to Corvale's own folders.
    std::string notice;
};

// Throws std::runtime_error naming the setting that is missing when a default cannot be found.
CliPaths ResolveCliPaths(const CliOptions& options);

}  // namespace corvale
