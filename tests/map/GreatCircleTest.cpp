#include "map/GreatCircle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "map/AzimuthalProjection.h"

namespace corvale {
namespace {

GeoPoint Point(const std::string& field) {
    const std::vector<double> degrees = test::Numbers(field);
    return {degrees.at(0), degrees.at(1)};
}

// The distance and bearing match the formulas; the destination at that bearing and distance is
// the point; the azimuthal map centred on `from` puts the point at its distance in the
// direction of its bearing (north up, east right) and reads it back from there.
TEST(GreatCircle, DistanceBearingDestinationAndTheAzimuthalMapAgree) {
    for (const test::Case& c : test::ReadCases("map/cases/great-circles.tsv")) {
        SCOPED_TRACE(c.name);
        const GeoPoint from = Point(c[0]), to = Point(c[1]);
        const double distanceKm = std::stod(c[2]), bearingDegrees = std::stod(c[3]);
        EXPECT_NEAR(DistanceKm(from, to), distanceKm, 0.1);
        EXPECT_NEAR(BearingDegrees(from, to), bearingDegrees, 0.01);
        EXPECT_LT(DistanceKm(Destination(from, bearingDegrees, distanceKm), to), 1.0);

        const AzimuthalProjection projection(from);
        EXPECT_NEAR(projection.DistanceKmFromHome(to), distanceKm, 0.1);
        EXPECT_NEAR(projection.BearingFromHome(to), bearingDegrees, 0.01);
        const QPointF plane = projection.ToPlane(to);
        const double bearing = bearingDegrees * std::numbers::pi / 180;
        // The bearing's last digit (0.005 degree) moves a far point by more than the distance's.
        const double tolerance = 0.1 + distanceKm * 1e-4;
        EXPECT_NEAR(plane.x(), distanceKm * std::sin(bearing), tolerance);
        EXPECT_NEAR(plane.y(), -distanceKm * std::cos(bearing), tolerance);
        const auto back = projection.ToGeo(plane);
        ASSERT_TRUE(back);
        EXPECT_LT(DistanceKm(*back, to), 0.01);
    }
}

}  // namespace
}  // namespace corvale
