#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "map/AzimuthalProjection.h"
#include "map/GreatCircle.h"
#include "map/LatLonProjection.h"
#include "map/MapView.h"

namespace corvale {
namespace {

// A pin (in 1/180 degree) on the whole-world latitude/longitude map of a picture size: the
// map fills the width or the height and is centred in the other.
struct PinPixelCase {
    const char* name;
    long pinLongitude;
    long pinLatitude;
    QSizeF picture;
    QPointF pixel;
};

class LatLonPinPixel : public testing::TestWithParam<PinPixelCase> {};

TEST_P(LatLonPinPixel, LiesWhereThePictureScalesTheDegrees) {
    const PinPixelCase& c = GetParam();
    const LatLonProjection projection;
    const MapView view(c.picture, projection.WorldBounds());
    const QPointF plane = projection.ToPlane(GeoPointFromPinUnits(c.pinLongitude, c.pinLatitude));
    const QPointF pixel = view.ToPixel(plane);
    EXPECT_NEAR(pixel.x(), c.pixel.x(), 0.001);
    EXPECT_NEAR(pixel.y(), c.pixel.y(), 0.001);
    const auto back = projection.ToGeo(view.ToPlane(pixel));
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->lon * 180, static_cast<double>(c.pinLongitude), 1e-6);
    EXPECT_NEAR(back->lat * 180, static_cast<double>(c.pinLatitude), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Pins, LatLonPinPixel,
    testing::Values(
        PinPixelCase{"Fn42At1800x900", -12772, 7654, {1800, 900}, {545.222, 237.389}},
        PinPixelCase{"RomeAt1800x900", 2241, 7538, {1800, 900}, {962.250, 240.611}},
        PinPixelCase{"NorthWestCornerAt1800x900", -32400, 16200, {1800, 900}, {0, 0}},
        PinPixelCase{"SouthEastCornerAt1800x900", 32400, -16200, {1800, 900}, {1800, 900}},
        PinPixelCase{
            "Fn42At1920x1080BandsAboveAndBelow", -12772, 7654, {1920, 1080}, {581.570, 313.215}},
        PinPixelCase{"NorthWestCornerAt1920x1080", -32400, 16200, {1920, 1080}, {0, 60}},
        PinPixelCase{"RomeAt1000x300BandsLeftAndRight", 2241, 7538, {1000, 300}, {520.750, 80.204}},
        PinPixelCase{"SouthEastCornerAt1000x300", 32400, -16200, {1000, 300}, {800, 300}}),
    [](const auto& test) { return test.param.name; });

TEST(LatLonProjection, NothingBeyondTheWorldsEdges) {
    const LatLonProjection projection;
    EXPECT_FALSE(projection.ToGeo({180.5, 0}));
    EXPECT_FALSE(projection.ToGeo({0, -90.5}));
}

// The azimuthal map puts a point at its great-circle distance from home, in the direction of
// its bearing (north up, east right); distances and bearings as worked out by the spherical
// formulas apart from the code under test.
struct AzimuthalCase {
    const char* name;
    GeoPoint home;
    GeoPoint point;
    double distanceKm;
    double bearing;
};

class AzimuthalPoint : public testing::TestWithParam<AzimuthalCase> {};

TEST_P(AzimuthalPoint, LiesAtItsDistanceInTheDirectionOfItsBearing) {
    const AzimuthalCase& c = GetParam();
    const AzimuthalProjection projection(c.home);
    EXPECT_NEAR(projection.DistanceKmFromHome(c.point), c.distanceKm, 0.1);
    EXPECT_NEAR(projection.BearingFromHome(c.point), c.bearing, 0.01);
    const QPointF plane = projection.ToPlane(c.point);
    const double bearing = c.bearing * std::numbers::pi / 180;
    // The bearing's last digit (0.005 degree) moves a far point by more than the distance's.
    const double tolerance = 0.1 + c.distanceKm * 1e-4;
    EXPECT_NEAR(plane.x(), c.distanceKm * std::sin(bearing), tolerance);
    EXPECT_NEAR(plane.y(), -c.distanceKm * std::cos(bearing), tolerance);
    const auto back = projection.ToGeo(plane);
    ASSERT_TRUE(back);
    EXPECT_LT(DistanceKm(*back, c.point), 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    KnownPoints, AzimuthalPoint,
    testing::Values(
        AzimuthalCase{"Fn42ToJo01", {-70.9583, 42.52085}, {1.0417, 51.52085}, 5323.0, 52.93},
        AzimuthalCase{"Fn42ToQf56", {-70.9583, 42.52085}, {151.0417, -33.47915}, 16241.7, 271.27},
        AzimuthalCase{"Fn42ToPm95", {-70.9583, 42.52085}, {139.0417, 35.52085}, 10817.8, 335.78},
        AzimuthalCase{"EastAlongTheEquator", {0, 0}, {90, 0}, 10007.6, 90},
        AzimuthalCase{"SouthFromTheEquator", {20, 10}, {20, -30}, 4447.8, 180}),
    [](const auto& test) { return test.param.name; });

TEST(AzimuthalProjection, HomeIsThePicturesCentreAndTheAntipodeItsRim) {
    const GeoPoint home{-70.9583, 42.52085};
    const AzimuthalProjection projection(home);
    const MapView view({1600, 800}, projection.WorldBounds());
    const QPointF centre = view.ToPixel(projection.ToPlane(home));
    EXPECT_NEAR(centre.x(), 800, 1e-9);
    EXPECT_NEAR(centre.y(), 400, 1e-9);
    const double rim = std::numbers::pi * kEarthRadiusKm;
    const QPointF antipode = projection.ToPlane({home.lon + 180, -home.lat});
    EXPECT_NEAR(std::hypot(antipode.x(), antipode.y()), rim, 0.1);
    // The whole disc touches the picture's top and bottom.
    EXPECT_NEAR(view.ToPixel({0, -rim}).y(), 0, 1e-9);
    EXPECT_NEAR(view.ToPixel({0, rim}).y(), 800, 1e-9);
    EXPECT_FALSE(projection.ToGeo({rim + 1, 0}));
}

}  // namespace
}  // namespace corvale
