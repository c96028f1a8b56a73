#include "map/OutlineData.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

namespace corvale {

namespace {

// Points beyond these bounds (in 1/180 degree) are no place on earth.
constexpr std::int32_t kLongitudeLimit = 180 * 180;
constexpr std::int32_t kLatitudeLimit = 90 * 180;

[[noreturn]] void Fail(std::size_t lineNumber, const std::string& what) {
    throw OutlineDataError("map outlines, line " + std::to_string(lineNumber) + ": " + what);
}

// Reads "x,y" at the front of `text` and moves past it and the spaces after it.
bool ReadPair(std::string_view& text, std::int32_t& x, std::int32_t& y) {
    const char* end = text.data() + text.size();
    auto [afterX, xError] = std::from_chars(text.data(), end, x);
    if (xError != std::errc() || afterX == end || *afterX != ',')
        return false;
    auto [afterY, yError] = std::from_chars(afterX + 1, end, y);
    if (yError != std::errc())
        return false;
    text.remove_prefix(static_cast<std::size_t>(afterY - text.data()));
    if (!text.empty() && text.front() != ' ')
        return false;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return true;
}

OutlineRing ParseRing(std::string_view points, std::size_t lineNumber) {
    OutlineRing ring;
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    while (!points.empty()) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!ReadPair(points, x, y))
            Fail(lineNumber, "a point is not two whole numbers \"x,y\"");
        // Differences are bounded so that the running sum cannot overflow.
        if (std::abs(static_cast<std::int64_t>(x)) > 2 * kLongitudeLimit ||
            std::abs(static_cast<std::int64_t>(y)) > 2 * kLatitudeLimit)
            Fail(lineNumber, "a point lies off the earth");
        lon = ring.empty() ? x : lon + x;
        lat = ring.empty() ? y : lat + y;
        if (std::abs(lon) > kLongitudeLimit || std::abs(lat) > kLatitudeLimit)
            Fail(lineNumber, "a point lies off the earth");
        ring.push_back(GeoPointFromPinUnits(lon, lat));
    }
    if (ring.size() < 3)
        Fail(lineNumber, "a ring has fewer than three points");
    return ring;
}

}  // namespace

const OutlineRegion* OutlineData::FindState(std::string_view postalCode) const {
    for (const OutlineRegion& state : states) {
        if (state.postalCode == postalCode)
            return &state;
    }
    return nullptr;
}

OutlineData ParseOutlineData(std::string_view text) {
    OutlineData data;
    OutlineRegion* region = nullptr;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.size() < 2 || line[1] != ' ')
            Fail(lineNumber, "expected \"C\", \"S\" or \"R\" and a space");
        const std::string_view rest = line.substr(2);
        switch (line.front()) {
            case 'C':
                region = &data.countries.emplace_back(OutlineRegion{std::string(rest), {}, {}});
                break;
            case 'S':
                if (rest.size() < 3 || rest[2] != ' ')
                    Fail(lineNumber, "a state needs a two-letter postal code and a name");
                region = &data.states.emplace_back(
                    OutlineRegion{std::string(rest.substr(3)), std::string(rest.substr(0, 2)), {}});
                break;
            case 'R':
                if (region == nullptr)
                    Fail(lineNumber, "a ring before any country or state");
                region->rings.push_back(ParseRing(rest, lineNumber));
                break;
            default:
                Fail(lineNumber, "expected \"C\", \"S\" or \"R\" and a space");
        }
    }
    return data;
}

}  // namespace corvale
