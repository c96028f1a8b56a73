#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "awards/AwardRun.h"

namespace corvale {

// Degrees of a value in pin units (1/180 degree), rounded to at most 6 decimals.
double DegreesOfPinUnits(std::int32_t units);

// The shortest decimal text that reads back as the same value, never in exponent form.
std::string FormatDegrees(double degrees);

struct LonLat {
    double longitude;
    double latitude;
    bool operator==(const LonLat&) const = default;
};

// Where an entity goes on a map: a point at its pin position, or, for a grid square or field,
// its outline as a closed ring (first point repeated last), counter-clockwise.
struct EntityShape {
    bool polygon;
    std::vector<LonLat> points;
};

// None for an entity without a map position. `gridSquares`: the award's keys are locators.
std::optional<EntityShape> ShapeOf(const AwardEntity& entity, bool gridSquares);

}  // namespace corvale
