#include "map/GreatCircle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvale {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

double Radians(double degrees) {
    return degrees * kRadiansPerDegree;
}
double Degrees(double radians) {
    return radians / kRadiansPerDegree;
}

// Longitude brought back into -180..180.
double WrappedLongitude(double lon) {
    const double wrapped = std::remainder(lon, 360.0);
    return wrapped == -180.0 ? 180.0 : wrapped;
}

}  // namespace

double DistanceKm(GeoPoint from, GeoPoint to) {
    // Haversine: well-conditioned for short distances, where the law of cosines is not.
    const double halfDLat = Radians(to.lat - from.lat) / 2;
    const double halfDLon = Radians(to.lon - from.lon) / 2;
    const double a = std::sin(halfDLat) * std::sin(halfDLat) +
                     std::cos(Radians(from.lat)) * std::cos(Radians(to.lat)) * std::sin(halfDLon) *
                         std::sin(halfDLon);
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

double BearingDegrees(GeoPoint from, GeoPoint to) {
    const double lat1 = Radians(from.lat);
    const double lat2 = Radians(to.lat);
    const double dLon = Radians(to.lon - from.lon);
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    if (std::abs(x) < 1e-15 && std::abs(y) < 1e-15)
        return 0;
    const double bearing = std::fmod(Degrees(std::atan2(y, x)) + 360.0, 360.0);
    return bearing >= 360.0 ? 0.0 : bearing;
}

GeoPoint Destination(GeoPoint from, double bearingDegrees, double distanceKm) {
    const double angle = distanceKm / kEarthRadiusKm;
    const double bearing = Radians(bearingDegrees);
    const double lat1 = Radians(from.lat);
    const double sinLat2 =
        std::sin(lat1) * std::cos(angle) + std::cos(lat1) * std::sin(angle) * std::cos(bearing);
    const double lat2 = std::asin(std::clamp(sinLat2, -1.0, 1.0));
    const double dLon = std::atan2(std::sin(bearing) * std::sin(angle) * std::cos(lat1),
                                   std::cos(angle) - std::sin(lat1) * sinLat2);
    return {WrappedLongitude(from.lon + Degrees(dLon)), Degrees(lat2)};
}

}  // namespace corvale
