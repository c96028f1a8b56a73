#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "map/GeoPoint.h"

namespace corvale {

// One closed ring of an outline; the last point joins the first.
using OutlineRing = std::vector<GeoPoint>;

// A country or a US state: its outer rings (counter-clockwise) and holes (clockwise).
struct OutlineRegion {
    std::string name;
    std::string postalCode;  // US states only ("NY"); empty for a country
    std::vector<OutlineRing> rings;
};

// The outlines that the map draws, as data/map-outlines.txt holds them.
struct OutlineData {
    std::vector<OutlineRegion> countries;
    std::vector<OutlineRegion> states;  // in the file's order

    // The US state of a postal code (exact, upper case), or null.
    const OutlineRegion* FindState(std::string_view postalCode) const;
};

// A fault in outline text; what() names the line and what is wrong with it.
class OutlineDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the text form of data/map-outlines.txt. Throws OutlineDataError on anything else.
OutlineData ParseOutlineData(std::string_view text);

}  // namespace corvale
