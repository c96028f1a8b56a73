#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "map/GeoPoint.h"

namespace corvale {

// A rectangle of longitude and latitude in degrees: its south-west corner and its size.
struct GeoRect {
    double west = 0;
    double south = 0;
    double width = 0;
    double height = 0;

    GeoPoint Centre() const { return {west + width / 2, south + height / 2}; }
    bool operator==(const GeoRect&) const = default;
};

inline constexpr int kFieldColumns = 18;  // fields A to R, 20 degrees of longitude each
inline constexpr int kFieldRows = 18;     // fields A to R, 10 degrees of latitude each
inline constexpr double kFieldWidth = 20;
inline constexpr double kFieldHeight = 10;
inline constexpr double kSquareWidth = 2;
inline constexpr double kSquareHeight = 1;

// The field of a two-letter locator ("FN"); letters of either case. No value for anything else.
std::optional<GeoRect> FieldRect(std::string_view field);

// The square of a four-character locator ("FN42"); further characters are ignored, as the
// awards ignore them. No value when the first four do not name a square.
std::optional<GeoRect> SquareRect(std::string_view locator);

// The centre of a locator of two, four or six characters ("FN", "FN42", "FN42hn"): the station's
// home on the azimuthal map. Letters of either case; no value for anything else.
std::optional<GeoPoint> LocatorCentre(std::string_view locator);

// The name of the field at a column and row (0-based, from 180 W and 90 S): (5, 13) is "FN".
std::string FieldName(int column, int row);

// The name of a square by its column and row among the 180 x 180 squares of the world.
std::string SquareName(int column, int row);

}  // namespace corvale
