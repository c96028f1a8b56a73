#pragma once

#include <string>

#include "logdb/LogReadOptions.h"

namespace corvale {

// What reading an ADIF log came to, for standard error: one line of counts, the country file's
// problem when there was one, and with `verbose` the numbers of the records without a date or
// an entity.
std::string AdifReadText(const std::string& path, const AdifReadReport& report, bool verbose);

}  // namespace corvale
