#pragma once

#include <cstdint>
#include <string>

namespace corvale {

// The pin coordinate string: "|", longitude, "|", latitude, both signed whole numbers in units
// of 1/180 degree, east and north positive, no plus sign, no leading zeros ("|2241|7538").
std::string FormatPinCoordinate(std::int32_t longitude, std::int32_t latitude);

// A key and its pin coordinate string, as the built-in tables hold them.
struct KeyedCoordinate {
    const char* key;
    const char* coordinate;
};

}  // namespace corvale
