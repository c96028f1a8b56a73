#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <optional>

#include "map/GeoPoint.h"

namespace corvale {

// Places the earth on a plane. Plane coordinates grow east (x) and south (y), as a picture's
// pixels do; the view (MapView) scales and moves the plane into a window or an image.
class Projection {
  public:
    virtual ~Projection() = default;

    virtual QPointF ToPlane(GeoPoint point) const = 0;
    // The point shown at a plane position; no value off the earth.
    virtual std::optional<GeoPoint> ToGeo(QPointF plane) const = 0;
    // The whole earth on the plane: its bounding rectangle and its outline (the sea's shape).
    virtual QRectF WorldBounds() const = 0;
    virtual QPainterPath WorldOutline() const = 0;
    // Plane units per degree of latitude (along a meridian); sets how large a grid square is.
    virtual double PlaneUnitsPerDegree() const = 0;
    // True when meridians and parallels come out straight, so that lines along them need no
    // points between their ends.
    virtual bool KeepsGridLinesStraight() const = 0;
    // The greatest plane distance between two neighbouring points of an outline that still
    // belongs to one line; a longer step jumps across the map's edge and is not drawn.
    virtual double LongestJoinedStep() const = 0;
};

}  // namespace corvale
