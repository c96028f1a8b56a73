#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale::testing {

// The smallest and largest longitude and latitude of a table; none when a value is not written
// exactly as FormatPinCoordinate writes it (no plus sign, no leading zeros, no "-0").
struct PinBounds {
    int minLongitude;
    int maxLongitude;
    int minLatitude;
    int maxLatitude;
    bool operator==(const PinBounds&) const = default;
};

inline std::optional<PinBounds> BoundsOf(std::span<const KeyedCoordinate> table) {
    PinBounds bounds{32400, -32400, 16200, -16200};
    for (const KeyedCoordinate& entry : table) {
        const auto point = ParsePinCoordinate(entry.coordinate);
        if (!point || FormatPinCoordinate(point->longitude, point->latitude) != entry.coordinate) {
            return std::nullopt;
        }
        bounds.minLongitude = std::min(bounds.minLongitude, point->longitude);
        bounds.maxLongitude = std::max(bounds.maxLongitude, point->longitude);
        bounds.minLatitude = std::min(bounds.minLatitude, point->latitude);
        bounds.maxLatitude = std::max(bounds.maxLatitude, point->latitude);
    }
    return bounds;
}

}  // namespace corvale::testing
