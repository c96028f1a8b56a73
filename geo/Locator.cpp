#include "geo/Locator.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "geo/PinCoordinate.h"

namespace corvale {
namespace {

// Offsets in degrees of the 24 subsquare centres from the centre of their square, A to X. These
// are hand-rounded constants, used as they stand rather than computed from (index - 11.5) / 12
// and / 24, so that every pin keeps its established position.
constexpr std::array<double, 24> kSubsquareLongitudeOffsets = {
    -0.9583, -0.8749, -0.7916, -0.7083, -0.625, -0.5416, -0.4583, -0.3749,
    -0.2916, -0.2083, -0.1249, -0.0416, 0.0417, 0.125,   0.2083,  0.2917,
    0.375,   0.4583,  0.5417,  0.625,   0.7084, 0.7917,  0.875,   0.9583,
};
constexpr std::array<double, 24> kSubsquareLatitudeOffsets = {
    -0.47915, -0.43745, -0.396,   -0.35415, -0.3125, -0.2708, -0.22915, -0.18745,
    -0.1458,  -0.10415, -0.06245, -0.0208,  0.02085, 0.0625,  0.10415,  0.14585,
    0.1875,   0.22915,  0.27085,  0.3125,   0.3542,  0.39585, 0.4375,   0.47915,
};

constexpr int kFieldLetters = 18;  // A to R

// Completes the first four characters to six, so that a shorter text is placed at a fixed
// subsquare of what it names.
std::string WorkingLocator(std::string_view grid) {
    constexpr std::array<std::string_view, 5> kTails = {"", "J50AA", "44XX", "5MA", "MM"};
    const std::string_view head = grid.substr(0, 4);
    std::string working(head);
    working += kTails[head.size()];
    return working;
}

// The index of a letter among the first `count` letters of the alphabet, either case.
std::optional<int> LetterIndex(char letter, int count) {
    if (letter >= 'A' && letter < 'A' + count) {
        return letter - 'A';
    }
    if (letter >= 'a' && letter < 'a' + count) {
        return letter - 'a';
    }
    return std::nullopt;
}

std::optional<int> DigitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    return std::nullopt;
}

std::optional<double> SubsquareOffset(char letter, const std::array<double, 24>& offsets) {
    const auto index = LetterIndex(letter, static_cast<int>(offsets.size()));
    if (!index) {
        return std::nullopt;
    }
    return offsets[static_cast<std::size_t>(*index)];
}

struct DegreesPoint {
    double longitude;
    double latitude;
};

// The centre of the subsquare that a six-character working locator names.
std::optional<DegreesPoint> DecodeWorkingLocator(std::string_view working) {
    if (working.size() != 6) {
        return std::nullopt;
    }
    const auto fieldLon = LetterIndex(working[0], kFieldLetters);
    const auto fieldLat = LetterIndex(working[1], kFieldLetters);
    const auto squareLon = DigitValue(working[2]);
    const auto squareLat = DigitValue(working[3]);
    const auto subsquareLon = SubsquareOffset(working[4], kSubsquareLongitudeOffsets);
    const auto subsquareLat = SubsquareOffset(working[5], kSubsquareLatitudeOffsets);
    if (!fieldLon || !fieldLat || !squareLon || !squareLat || !subsquareLon || !subsquareLat) {
        return std::nullopt;
    }
    return DegreesPoint{
        20 * *fieldLon - 180 + 2 * *squareLon + 1 + *subsquareLon,
        10 * *fieldLat - 90 + *squareLat + 0.5 + *subsquareLat,
    };
}

// One axis in pin units, rounded half away from zero, kept as the diagnostics show it.
struct RoundedAxis {
    double product;  // degrees times 180, before rounding
    std::int32_t magnitude;
    bool negative;

    std::int32_t Value() const { return negative ? -magnitude : magnitude; }
};

RoundedAxis RoundToPinUnits(double degrees) {
    const double product = degrees * 180;
    const auto magnitude = static_cast<std::int32_t>(std::fabs(std::round(product)));
    return {product, magnitude, std::signbit(product)};
}

void AppendDiagnosticLine(std::string& out, char axis, const RoundedAxis& rounded) {
    constexpr const char* kFormat = "%c: %2.10f   buffer: '%s'   decimal: %d   sign: %d\n";
    const std::string digits = std::to_string(rounded.magnitude);
    const int decimal = static_cast<int>(digits.size());
    const int sign = rounded.negative ? 1 : 0;
    const int length =
        std::snprintf(nullptr, 0, kFormat, axis, rounded.product, digits.c_str(), decimal, sign);
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), kFormat, axis, rounded.product, digits.c_str(), decimal,
                  sign);
    line.pop_back();
    out += line;
}

}  // namespace

std::optional<std::string> GridToPin(std::string_view grid, std::string* diagnostics) {
    const auto point = DecodeWorkingLocator(WorkingLocator(grid));
    if (!point) {
        return std::nullopt;
    }
    const RoundedAxis longitude = RoundToPinUnits(point->longitude);
    const RoundedAxis latitude = RoundToPinUnits(point->latitude);
    if (diagnostics != nullptr) {
        AppendDiagnosticLine(*diagnostics, 'x', longitude);
        AppendDiagnosticLine(*diagnostics, 'y', latitude);
    }
    return FormatPinCoordinate(longitude.Value(), latitude.Value());
}

std::optional<GridOutline> GridSquareOutline(std::string_view locator) {
    if (locator.size() != 2 && locator.size() != 4)
        return std::nullopt;
    const auto fieldLon = LetterIndex(locator[0], kFieldLetters);
    const auto fieldLat = LetterIndex(locator[1], kFieldLetters);
    if (!fieldLon || !fieldLat)
        return std::nullopt;
    const int west = 20 * *fieldLon - 180;
    const int south = 10 * *fieldLat - 90;
    if (locator.size() == 2)
        return GridOutline{west, south, west + 20, south + 10};
    const auto squareLon = DigitValue(locator[2]);
    const auto squareLat = DigitValue(locator[3]);
    if (!squareLon || !squareLat)
        return std::nullopt;
    const int squareWest = west + 2 * *squareLon;
    const int squareSouth = south + *squareLat;
    return GridOutline{squareWest, squareSouth, squareWest + 2, squareSouth + 1};
}

}  // namespace corvale
