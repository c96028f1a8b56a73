#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvale {

// The pin coordinate string of a Maidenhead locator: the first four characters, completed with
// the tail for their length, placed at the centre of the resulting subsquare. Lower-case letters
// decode like upper-case ones. No value for a text that cannot be decoded (or is empty).
// When `diagnostics` is given, the two diagnostic lines of the conversion ("x: ..." and
// "y: ...", each ending in "\n") are appended to it; a text without a position appends nothing.
std::optional<std::string> GridToPin(std::string_view grid, std::string* diagnostics = nullptr);

// The area that a locator names, in whole degrees, east and north positive.
struct GridOutline {
    int west;
    int south;
    int east;
    int north;
    bool operator==(const GridOutline&) const = default;
};

// The outline of a two-character field (20 by 10 degrees) or a four-character square (2 by 1
// degrees), letters in either case; none for a text of any other length or that cannot be
// decoded.
std::optional<GridOutline> GridSquareOutline(std::string_view locator);

}  // namespace corvale
