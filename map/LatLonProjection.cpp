#include "map/LatLonProjection.h"

#include <cmath>

namespace corvale {

std::optional<GeoPoint> LatLonProjection::ToGeo(QPointF plane) const {
    if (std::abs(plane.x()) > 180 || std::abs(plane.y()) > 90)
        return std::nullopt;
    return GeoPoint{plane.x(), -plane.y()};
}

QPainterPath LatLonProjection::WorldOutline() const {
    QPainterPath outline;
    outline.addRect(WorldBounds());
    return outline;
}

}  // namespace corvale
