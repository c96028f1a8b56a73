#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvale {

// The pin coordinate string: "|", longitude, "|", latitude, both signed whole numbers in units
// of 1/180 degree, east and north positive, no plus sign, no leading zeros ("|2241|7538").
std::string FormatPinCoordinate(std::int32_t longitude, std::int32_t latitude);

// A point in the units of the pin coordinate string (1/180 degree, east and north positive).
struct PinPosition {
    std::int32_t longitude;
    std::int32_t latitude;
    bool operator==(const PinPosition&) const = default;
};

// The two numbers of a pin coordinate string; none for any other text (the empty string too).
std::optional<PinPosition> ParsePinCoordinate(std::string_view text);

// A key and its pin coordinate string, as the built-in tables hold them.
struct KeyedCoordinate {
    const char* key;
    const char* coordinate;
};

}  // namespace corvale
