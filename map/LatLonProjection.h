#pragma once

#include "map/Projection.h"

namespace corvale {

// The plain latitude/longitude map (equirectangular), DX Atlas's default view: one plane unit
// is one degree, x the longitude and y the latitude southwards.
class LatLonProjection : public Projection {
  public:
    QPointF ToPlane(GeoPoint point) const override { return {point.lon, -point.lat}; }
    std::optional<GeoPoint> ToGeo(QPointF plane) const override;
    QRectF WorldBounds() const override { return {-180, -90, 360, 180}; }
    QPainterPath WorldOutline() const override;
    double PlaneUnitsPerDegree() const override { return 1; }
    bool KeepsGridLinesStraight() const override { return true; }
    // Outlines are split at the antimeridian, so no step of theirs crosses the map.
    double LongestJoinedStep() const override { return 360; }
};

}  // namespace corvale
