#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "map/AzimuthalProjection.h"
#include "map/LatLonProjection.h"
#include "map/MapView.h"

namespace corvale {
namespace {

// The two numbers of a field of cases/lat-lon-pins.tsv.
QPointF Pair(const std::string& field) {
    const std::vector<double> numbers = test::Numbers(field);
    return {numbers.at(0), numbers.at(1)};
}

// A pin on the whole-world latitude/longitude map lies where the picture scales the degrees,
// and reads back as the pin.
TEST(LatLonProjection, PinLiesWhereThePictureScalesTheDegrees) {
    const LatLonProjection projection;
    for (const test::Case& c : test::ReadCases("map/cases/lat-lon-pins.tsv")) {
        SCOPED_TRACE(c.name);
        const QPointF pin = Pair(c[0]), expected = Pair(c[2]);
        const MapView view(QSizeF(Pair(c[1]).x(), Pair(c[1]).y()), projection.WorldBounds());
        const QPointF pixel = view.ToPixel(projection.ToPlane(
            GeoPointFromPinUnits(static_cast<long>(pin.x()), static_cast<long>(pin.y()))));
        EXPECT_NEAR(pixel.x(), expected.x(), 0.001);
        EXPECT_NEAR(pixel.y(), expected.y(), 0.001);
        const auto back = projection.ToGeo(view.ToPlane(pixel));
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->lon * 180, pin.x(), 1e-6);
        EXPECT_NEAR(back->lat * 180, pin.y(), 1e-6);
    }
    // Nothing beyond the world's edges.
    EXPECT_FALSE(projection.ToGeo({180.5, 0}));
    EXPECT_FALSE(projection.ToGeo({0, -90.5}));
}

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
