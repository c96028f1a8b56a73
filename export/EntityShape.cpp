#include "export/EntityShape.h"

#include <charconv>
#include <cmath>

#include "geo/Locator.h"

namespace corvale {

double DegreesOfPinUnits(std::int32_t units) {
    return std::round(units / 180.0 * 1e6) / 1e6;
}

std::string FormatDegrees(double degrees) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

std::optional<EntityShape> ShapeOf(const AwardEntity& entity, bool gridSquares) {
    if (!entity.position)
        return std::nullopt;
    if (gridSquares) {
        if (const auto outline = GridSquareOutline(entity.key)) {
            const double west = outline->west, south = outline->south;
            const double east = outline->east, north = outline->north;
            return EntityShape{
                true, {{west, south}, {east, south}, {east, north}, {west, north}, {west, south}}};
        }
    }
    return EntityShape{false,
                       {{DegreesOfPinUnits(entity.position->longitude),
                         DegreesOfPinUnits(entity.position->latitude)}}};
}

}  // namespace corvale
