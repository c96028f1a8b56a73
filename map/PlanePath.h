#pragma once

#include <QPainterPath>
#include <vector>

#include "map/Maidenhead.h"
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

}  // namespace corvale
