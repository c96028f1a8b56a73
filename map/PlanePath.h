#pragma once

#include <QPainter>
#include <QPainterPath>
#include <vector>

#include "map/Maidenhead.h"
#include "map/MapView.h"
#include "map/OutlineData.h"
#include "map/Projection.h"

namespace corvale {

// Outline rings on a projection's plane, each a closed subpath (fill with Qt::WindingFill).
// A step longer than the projection's LongestJoinedStep starts a new subpath.
QPainterPath RingsToPlane(const Projection& projection, const std::vector<OutlineRing>& rings);

// A rectangle of longitude and latitude (a field, a square) on the plane; its edges follow the
// meridians and parallels, curved where the projection bends them.
QPainterPath GeoRectToPlane(const Projection& projection, const GeoRect& rect);

// The line from `from` to `to` with longitude and latitude changing evenly (a meridian or a
// parallel when one of them stays), appended to `path` as a new subpath.
void AddGeoLine(QPainterPath& path, const Projection& projection, GeoPoint from, GeoPoint to);

// A path on the plane with its bounds, so that a repaint passes over what the picture does not
// show.
struct PlaneShape {
    explicit PlaneShape(QPainterPath planePath)
        : path(std::move(planePath)), bounds(path.controlPointRect()) {}

    QPainterPath path;
    QRectF bounds;
};

// Draws, with the painter's pen and brush, those of `shapes` that `view` shows; the painter's
// transform must be the view's PlaneToPixel.
void DrawVisible(QPainter& painter, const std::vector<PlaneShape>& shapes, const MapView& view);

}  // namespace corvale
