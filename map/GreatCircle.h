#pragma once

#include "map/GeoPoint.h"

namespace corvale {

// Great-circle distance on the earth's sphere, in km.
double DistanceKm(GeoPoint from, GeoPoint to);

// Initial bearing from `from` towards `to`, degrees clockwise from true north, 0 to under 360.
// 0 when the two points coincide or `from` is a pole's exact point.
double BearingDegrees(GeoPoint from, GeoPoint to);

// The point reached from `from` after `distanceKm` along the great circle of `bearingDegrees`.
GeoPoint Destination(GeoPoint from, double bearingDegrees, double distanceKm);

}  // namespace corvale
