#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <memory>
#include <vector>

#include "map/AzimuthalProjection.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"
#include "map/Maidenhead.h"
#include "map/MapRenderer.h"
#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {
namespace {

const QColor kConfirmed(0x00, 0x9E, 0x73);
const QColor kWorked(0xE6, 0x9F, 0x00);
const QColor kNeeded(0xD5, 0x5E, 0x00);

// Squares filled in one colour each, as an award adds them: one more layer.
class SquareFillLayer : public MapLayer {
  public:
    explicit SquareFillLayer(std::vector<std::pair<const char*, QColor>> squares)
        : m_squares(std::move(squares)) {}

    void SetProjection(const Projection& projection) override {
        m_paths.clear();
        for (const auto& [square, colour] : m_squares)
            m_paths.push_back(GeoRectToPlane(projection, *SquareRect(square)));
    }
    void Paint(QPainter& painter, const MapView& view) const override {
        painter.setTransform(view.PlaneToPixel());
        painter.setPen(Qt::NoPen);
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            painter.setBrush(m_squares[i].second);
            painter.drawPath(m_paths[i]);
        }
    }

  private:
    std::vector<std::pair<const char*, QColor>> m_squares;
    std::vector<QPainterPath> m_paths;
};

// Three squares whose centres lie inside a state, clear of borders and grid names.
const std::vector<std::pair<const char*, QColor>> kStatusSquares = {
    {"DM79", kConfirmed}, {"EM12", kWorked}, {"DN46", kNeeded}};

MapRenderer BaseMap(std::unique_ptr<Projection> projection) {
    MapRenderer renderer(std::move(projection));
    AddBaseLayers(renderer, EmbeddedOutlines());
    return renderer;
}

QImage Render(const MapRenderer& renderer, const MapView& view) {
    QImage image(view.PictureSize().toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    renderer.Render(painter, view);
    return image;
}

QColor PixelAt(const QImage& image, const MapRenderer& renderer, const MapView& view,
               GeoPoint point) {
    const QPointF pixel = view.ToPixel(renderer.CurrentProjection().ToPlane(point));
    return image.pixelColor(static_cast<int>(pixel.x()), static_cast<int>(pixel.y()));
}

struct ProjectionCase {
    const char* name;
    bool azimuthal;
};
void PrintTo(const ProjectionCase& c, std::ostream* os) {
    *os << c.name;
}

class StatusFills : public testing::TestWithParam<ProjectionCase> {};

// The layer of fills lies under the borders and the grid, so a square keeps its exact colour
// at its centre, with the square grid shown.
TEST_P(StatusFills, ColourTheCentreOfEachSquareExactly) {
    const GeoPoint home = SquareRect("DM79")->Centre();
    std::unique_ptr<Projection> projection;
    if (GetParam().azimuthal)
        projection = std::make_unique<AzimuthalProjection>(home);
    else
        projection = std::make_unique<LatLonProjection>();
    MapRenderer renderer = BaseMap(std::move(projection));
    renderer.AddLayer(std::make_unique<SquareFillLayer>(kStatusSquares), MapDepth::Fills);
    for (double zoom : {2.0, 6.0}) {
        MapView view = renderer.WholeWorld({1800, 900});
        view.ZoomAround(view.ToPixel(renderer.CurrentProjection().ToPlane(home)), zoom);
        const QImage image = Render(renderer, view);
        for (const auto& [square, colour] : kStatusSquares) {
            EXPECT_EQ(PixelAt(image, renderer, view, SquareRect(square)->Centre()), colour)
                << square << " at zoom " << zoom;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Projections, StatusFills,
                         testing::Values(ProjectionCase{"LatitudeLongitude", false},
                                         ProjectionCase{"AzimuthalFromDm79", true}),
                         [](const auto& test) { return test.param.name; });

TEST(BaseMap, PaintsLandSeaAndTheBandsOffTheEarth) {
    const MapRenderer renderer = BaseMap(std::make_unique<LatLonProjection>());
    const MapView view = renderer.WholeWorld({1920, 1080});
    const QImage image = Render(renderer, view);
    EXPECT_EQ(PixelAt(image, renderer, view, {95, 62}), map_style::kLand);    // Siberia
    EXPECT_EQ(PixelAt(image, renderer, view, {-137, -22}), map_style::kSea);  // South Pacific
    EXPECT_EQ(image.pixelColor(960, 20), map_style::kBackground);             // band above
}

int PixelsOfColour(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

TEST(BaseMap, ShowsTheSquareGridOnlyWhenZoomedIn) {
    const MapRenderer renderer = BaseMap(std::make_unique<LatLonProjection>());
    MapView view = renderer.WholeWorld({900, 450});  // 2.5 pixels a degree
    EXPECT_EQ(PixelsOfColour(Render(renderer, view), map_style::kSquareGrid), 0);
    view.ZoomAround({450, 225}, 8);  // 20 pixels a degree
    EXPECT_GT(PixelsOfColour(Render(renderer, view), map_style::kSquareGrid), 10000);
}

TEST(BaseMap, DrawsIntoVectorFiles) {
    const MapRenderer renderer = BaseMap(std::make_unique<LatLonProjection>());
    const MapView view = renderer.WholeWorld({1800, 900});

    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize({1800, 900});
    generator.setViewBox(QRect(0, 0, 1800, 900));
    {
        QPainter painter(&generator);
        renderer.Render(painter, view);
    }
    const QByteArray text = svg.data();
    EXPECT_EQ(text.count("<text"), kFieldColumns * kFieldRows);  // every field's name
    EXPECT_TRUE(text.contains("fill=\"#faf8f0\""));              // the land

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        renderer.Render(painter, renderer.WholeWorld(page.size()));
    }
    EXPECT_TRUE(pdf.data().startsWith("%PDF"));
    EXPECT_GT(pdf.data().size(), 100000);
}

}  // namespace
}  // namespace corvale
