#pragma once

namespace corvale {

// A point on the earth in degrees, east and north positive.
struct GeoPoint {
    double lon = 0;
    double lat = 0;
};

// The earth's mean radius, of the sphere on which distances and bearings are worked out.
inline constexpr double kEarthRadiusKm = 6371.0088;

// A point given in the unit of the pin coordinates, 1/180 degree.
inline GeoPoint GeoPointFromPinUnits(long longitude, long latitude) {
    return {static_cast<double>(longitude) / 180.0, static_cast<double>(latitude) / 180.0};
}

}  // namespace corvale
