#include "map/GreatCircle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "map/AzimuthalProjection.h"

namespace corvale {
namespace {

// Expected values from the spherical law of cosines (distance) and the forward azimuth formula
// (bearing) on a sphere of 6371.0088 km, worked out apart from the code under test.
struct GreatCircleCase {
    const char* name;
    GeoPoint from;
    GeoPoint to;
    double distanceKm;
    double bearing;
};
void PrintTo(const GreatCircleCase& c, std::ostream* os) {
    *os << c.name;
}

class GreatCircle : public testing::TestWithParam<GreatCircleCase> {};

// The distance and bearing match the formulas; the destination at that bearing and distance is
// the point; the azimuthal map centred on `from` puts the point at its distance in the
// direction of its bearing (north up, east right) and reads it back from there.
TEST_P(GreatCircle, DistanceBearingDestinationAndTheAzimuthalMapAgree) {
    const GreatCircleCase& c = GetParam();
    EXPECT_NEAR(DistanceKm(c.from, c.to), c.distanceKm, 0.1);
    EXPECT_NEAR(BearingDegrees(c.from, c.to), c.bearing, 0.01);
    EXPECT_LT(DistanceKm(Destination(c.from, c.bearing, c.distanceKm), c.to), 1.0);

    const AzimuthalProjection projection(c.from);
    EXPECT_NEAR(projection.DistanceKmFromHome(c.to), c.distanceKm, 0.1);
    EXPECT_NEAR(projection.BearingFromHome(c.to), c.bearing, 0.01);
    const QPointF plane = projection.ToPlane(c.to);
    const double bearing = c.bearing * std::numbers::pi / 180;
    // The bearing's last digit (0.005 degree) moves a far point by more than the distance's.
    const double tolerance = 0.1 + c.distanceKm * 1e-4;
    EXPECT_NEAR(plane.x(), c.distanceKm * std::sin(bearing), tolerance);
    EXPECT_NEAR(plane.y(), -c.distanceKm * std::cos(bearing), tolerance);
    const auto back = projection.ToGeo(plane);
    ASSERT_TRUE(back);
    EXPECT_LT(DistanceKm(*back, c.to), 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    KnownPoints, GreatCircle,
    testing::Values(
        GreatCircleCase{"Fn42ToJo01", {-70.9583, 42.52085}, {1.0417, 51.52085}, 5323.0, 52.93},
        GreatCircleCase{"Fn42ToQf56", {-70.9583, 42.52085}, {151.0417, -33.47915}, 16241.7, 271.27},
        GreatCircleCase{"Fn42ToPm95", {-70.9583, 42.52085}, {139.0417, 35.52085}, 10817.8, 335.78},
        GreatCircleCase{"BostonToCapeTown", {-71.06, 42.36}, {18.42, -33.92}, 12425.2, 116.70},
        GreatCircleCase{"QuarterOfTheEquatorEastwards", {0, 0}, {90, 0}, 10007.6, 90},
        GreatCircleCase{"UpAMeridianToThePole", {10, 45}, {10, 90}, 5003.8, 0},
        GreatCircleCase{"DownAMeridianAcrossTheEquator", {20, 10}, {20, -30}, 4447.8, 180},
        GreatCircleCase{"WestwardsAcrossTheAntimeridian", {179, 0}, {-179, 0}, 222.4, 90}),
    [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace corvale
