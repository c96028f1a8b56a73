#include "map/AzimuthalProjection.h"

#include <cmath>
#include <numbers>

#include "map/GreatCircle.h"

namespace corvale {

namespace {

constexpr double kRimKm = std::numbers::pi * kEarthRadiusKm;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

}  // namespace

double AzimuthalProjection::DistanceKmFromHome(GeoPoint point) const {
    return DistanceKm(m_home, point);
}

double AzimuthalProjection::BearingFromHome(GeoPoint point) const {
    return BearingDegrees(m_home, point);
}

QPointF AzimuthalProjection::ToPlane(GeoPoint point) const {
    const double distance = DistanceKm(m_home, point);
    const double bearing = BearingDegrees(m_home, point) * kRadiansPerDegree;
    return {distance * std::sin(bearing), -distance * std::cos(bearing)};
}

std::optional<GeoPoint> AzimuthalProjection::ToGeo(QPointF plane) const {
    const double distance = std::hypot(plane.x(), plane.y());
    if (distance > kRimKm)
        return std::nullopt;
    const double bearing = std::atan2(plane.x(), -plane.y()) / kRadiansPerDegree;
    return Destination(m_home, bearing, distance);
}

QRectF AzimuthalProjection::WorldBounds() const {
    return {-kRimKm, -kRimKm, 2 * kRimKm, 2 * kRimKm};
}

QPainterPath AzimuthalProjection::WorldOutline() const {
    QPainterPath outline;
    outline.addEllipse(QPointF(0, 0), kRimKm, kRimKm);
    return outline;
}

double AzimuthalProjection::PlaneUnitsPerDegree() const {
    return kEarthRadiusKm * kRadiansPerDegree;
}

double AzimuthalProjection::LongestJoinedStep() const {
    return kRimKm / 2;
}

}  // namespace corvale
