#include "map/MapView.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

const QRectF kWorld(-180, -90, 360, 180);

struct ZoomCase {
    const char* name;
    QPointF pixel;
    double factor;
    double zoom;  // after the step, kept within 1..kMaxZoom
};
void PrintTo(const ZoomCase& c, std::ostream* os) {
    *os << c.name;
}

class ZoomAround : public testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomAround, KeepsThePlanePointUnderThePixel) {
    const ZoomCase& c = GetParam();
    MapView view({1800, 900}, kWorld);
    view.ZoomAround({900, 450}, 2);  // start zoomed in, so that zooming out can be seen
    const QPointF before = view.ToPlane(c.pixel);
    view.ZoomAround(c.pixel, c.factor);
    EXPECT_DOUBLE_EQ(view.Zoom(), c.zoom);
    const QPointF after = view.ToPixel(before);
    EXPECT_NEAR(after.x(), c.pixel.x(), 1e-9);
    EXPECT_NEAR(after.y(), c.pixel.y(), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ZoomAround,
    testing::Values(ZoomCase{"InAtTheCentre", {900, 450}, 2, 4},
                    ZoomCase{"InOffCentre", {300, 200}, 1.5, 3},
                    ZoomCase{"OutOffCentre", {1200, 700}, 0.8, 1.6},
                    ZoomCase{"InPastTheLimitStopsThere", {900, 450}, 1000, MapView::kMaxZoom}),
    [](const auto& test) { return test.param.name; });

TEST(MapView, ZoomingOutStopsAtTheWholeWorld) {
    MapView view({1800, 900}, kWorld);
    view.ZoomAround({100, 100}, 0.25);
    EXPECT_DOUBLE_EQ(view.Zoom(), 1);
    EXPECT_EQ(view.ToPixel({-180, -90}), QPointF(0, 0));
}

TEST(MapView, PanMovesTheMapWithThePointerAndKeepsItOnTheWorld) {
    MapView view({1800, 900}, kWorld);
    view.ZoomAround({900, 450}, 4);
    const QPointF planeAt = view.ToPlane({500, 300});
    view.PanBy({40, -25});
    EXPECT_EQ(view.ToPixel(planeAt), QPointF(540, 275));

    view.PanBy({-100000, 0});  // far beyond the east edge: the centre stays on the world
    EXPECT_DOUBLE_EQ(view.ToPlane({900, 450}).x(), 180);
    view.Reset();
    EXPECT_DOUBLE_EQ(view.Zoom(), 1);
    EXPECT_EQ(view.ToPixel({0, 0}), QPointF(900, 450));
}

}  // namespace
}  // namespace corvale
