#pragma once

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale::testing {

struct PinPoint {
    int longitude;
    int latitude;
};

// The two numbers of a pin coordinate string "|longitude|latitude".
inline std::optional<PinPoint> ParsePinCoordinate(std::string_view text) {
    const auto parseAfterBar = [&text](int& value) {
        if (text.empty() || text.front() != '|') {
            return false;
        }
        text.remove_prefix(1);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        return error == std::errc{};
    };
    PinPoint point{};
    if (!parseAfterBar(point.longitude) || !parseAfterBar(point.latitude) || !text.empty()) {
        return std::nullopt;
    }
    return point;
}

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
