#pragma once

#include <string>
#include <vector>

#include "logdb/LogReadOptions.h"

namespace corvale {

// What reading the ADIF log at `path` came to, as sentences for the user (the command line's
// standard error, the desktop program's run report): the counts, then the country file's
// problem when there was one.
std::vector<std::string> AdifReadSummary(const std::string& path, const AdifReadReport& report);

}  // namespace corvale
