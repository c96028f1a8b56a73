#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "map/AzimuthalProjection.h"
#include "map/LatLonProjection.h"
#include "map/MapView.h"

namespace corvale {
namespace {

// A pin (in 1/180 degree) on the whole-world latitude/longitude map of a picture size: the
// map fills the width or the height and is centred in the other, and reads the pin back.
TEST(LatLonProjection, PinLiesWhereThePictureScalesTheDegrees) {
    struct {
        long pinLongitude;
        long pinLatitude;
        QSizeF picture;
        QPointF pixel;
    } cases[] = {
        {-12772, 7654, {1800, 900}, {545.222, 237.389}},   // FN42
        {2241, 7538, {1800, 900}, {962.250, 240.611}},     // Rome
        {-32400, 16200, {1800, 900}, {0, 0}},              // north-west corner
        {32400, -16200, {1800, 900}, {1800, 900}},         // south-east corner
        {-12772, 7654, {1920, 1080}, {581.570, 313.215}},  // bands above and below
        {-32400, 16200, {1920, 1080}, {0, 60}},
        {2241, 7538, {1000, 300}, {520.750, 80.204}},  // bands left and right
        {32400, -16200, {1000, 300}, {800, 300}},
    };
    const LatLonProjection projection;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pinLongitude << "," << c.pinLatitude << " at "
                                        << c.picture.width() << "x" << c.picture.height());
        const MapView view(c.picture, projection.WorldBounds());
        const QPointF pixel =
            view.ToPixel(projection.ToPlane(GeoPointFromPinUnits(c.pinLongitude, c.pinLatitude)));
        EXPECT_NEAR(pixel.x(), c.pixel.x(), 0.001);
        EXPECT_NEAR(pixel.y(), c.pixel.y(), 0.001);
        const auto back = projection.ToGeo(view.ToPlane(pixel));
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->lon * 180, static_cast<double>(c.pinLongitude), 1e-6);
        EXPECT_NEAR(back->lat * 180, static_cast<double>(c.pinLatitude), 1e-6);
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
