#pragma once

#include "map/OutlineData.h"

namespace corvale {

// The outlines built into the program (data/map-outlines.txt), read on the first call.
const OutlineData& EmbeddedOutlines();

}  // namespace corvale
