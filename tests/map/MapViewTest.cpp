#include "map/MapView.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

const QRectF kWorld(-180, -90, 360, 180);

// A zoom keeps the plane point under the pixel, within 1..kMaxZoom; zoomed out to the whole
// world, the world fills the picture again. (The map widget's test zooms in off centre.)
TEST(MapView, ZoomKeepsThePointUnderThePixelWithinItsLimits) {
    struct {
        QPointF pixel;
        double factor;
        double zoom;  // after the step, from 2
    } steps[] = {
        {{900, 450}, 2, 4}, {{1200, 700}, 0.8, 1.6}, {{900, 450}, 1000, MapView::kMaxZoom}};
    for (const auto& step : steps) {
        MapView view({1800, 900}, kWorld);
        view.ZoomAround({900, 450}, 2);  // start zoomed in, so that zooming out can be seen
        const QPointF before = view.ToPlane(step.pixel);
        view.ZoomAround(step.pixel, step.factor);
        EXPECT_DOUBLE_EQ(view.Zoom(), step.zoom);
        EXPECT_NEAR(QLineF(view.ToPixel(before), step.pixel).length(), 0, 1e-9) << step.factor;
    }
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
