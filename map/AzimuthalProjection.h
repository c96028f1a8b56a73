#pragma once

#include "map/Projection.h"

namespace corvale {

// The azimuthal equidistant map centred on the station's home: every point lies in the
// direction of its bearing from home (north up) at its great-circle distance. One plane unit is
// one km; the earth is a disc of radius pi times the earth's radius, the antipode its rim.
class AzimuthalProjection : public Projection {
  public:
    explicit AzimuthalProjection(GeoPoint home) : m_home(home) {}

    GeoPoint Home() const { return m_home; }
    // What the tooltip tells: distance (km) and bearing (degrees from north) from home.
    double DistanceKmFromHome(GeoPoint point) const;
    double BearingFromHome(GeoPoint point) const;

    QPointF ToPlane(GeoPoint point) const override;
    std::optional<GeoPoint> ToGeo(QPointF plane) const override;
    QRectF WorldBounds() const override;
    QPainterPath WorldOutline() const override;
    double PlaneUnitsPerDegree() const override;
    bool KeepsGridLinesStraight() const override { return false; }
    // Near the antipode neighbouring points land on opposite sides of the rim.
    double LongestJoinedStep() const override;

  private:
    GeoPoint m_home;
};

}  // namespace corvale
