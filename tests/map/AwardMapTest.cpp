// The map drawn offscreen: the base map, and the award from completed runs of the demo and
// sample logs, every state and square filled in its status's exact colour, dots and rings at
// the pins, the legend, what the pointer finds and the files a map is saved as.
#include <gtest/gtest.h>
#include <QImage>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "CaseFile.h"
#include "TestFiles.h"
#include "awards/AwardRun.h"
#include "awards/AwardUniverse.h"
#include "export/StatusPalette.h"
#include "logdb/QsoTable.h"
#include "map/AwardLayers.h"
#include "map/AzimuthalProjection.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"
#include "map/Maidenhead.h"
#include "map/MapPicture.h"
#include "map/MapStyle.h"

namespace corvale {
namespace {

// The demo log, and a log that DXBase users really keep (worked-only states and countries,
// keys in lower case or with spaces).
const std::string kDemoLog = CORVALE_SHARED_DIR "/fixtures/demo-log.mdb";
const std::string kSampleLog = CORVALE_SHARED_DIR "/fixtures/sample-log.mdb";

QColor Palette(EntityStatus status) {
    const StatusColour colour = ColourOf(status);
    return {colour.red, colour.green, colour.blue};
}

std::unique_ptr<Projection> MakeProjection(bool azimuthal, GeoPoint home) {
    if (azimuthal)
        return std::make_unique<AzimuthalProjection>(home);
    return std::make_unique<LatLonProjection>();
}

std::vector<AwardEntity> Run(Award award, CSRC2006QSO& qsoSet) {
    const test::TempFolder folder;
    RunRequest request;
    request.award = award;
    request.lstPath = folder.File("pins.lst");
    RunObserver quiet;
    return RunAward(request, qsoSet, quiet).entities;
}

// The entities of a completed run of a log (VUCC on 50 MHz), run once per award and log.
const std::vector<AwardEntity>& RunEntities(Award award, const std::string& log) {
    static std::map<std::pair<Award, std::string>, std::vector<AwardEntity>> runs;
    auto found = runs.find({award, log});
    if (found == runs.end()) {
        CSRC2006QSO qsoSet(log);
        found = runs.emplace(std::pair(award, log), Run(award, qsoSet)).first;
    }
    return found->second;
}

// A DXCC run of an edited log, far-apart countries confirmed or worked only, one contact each.
const std::vector<AwardEntity>& EditedDxccRun() {
    static const std::vector<AwardEntity> entities = [] {
        QsoTableBuilder table;
        for (const auto& [prefix, confirmed] : {std::pair{"G", true},
                                                {"JA", true},
                                                {"VK", true},
                                                {"ZS", false},
                                                {"PY", false},
                                                {"KH6", false}}) {
            table.AddRow()
                .Set(QsoColumn::Prefix, prefix)
                .Set(QsoColumn::Confirm, confirmed ? "1" : "")
                .Set(QsoColumn::Valid, std::int32_t{1});
        }
        CSRC2006QSO qsoSet;
        qsoSet.m_strSort = std::string(AwardSortText(Award::Dxcc));
        qsoSet.Open(table.Build());
        return Run(Award::Dxcc, qsoSet);
    }();
    return entities;
}

QImage RenderImage(const MapRenderer& renderer, const MapView& view) {
    QImage image(view.PictureSize().toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    renderer.Render(painter, view);
    return image;
}

// A map of one award's run: its layers alone (no land, borders or grid, so that every centre
// shows the award's own colour), or with the base map under them.
struct AwardPicture {
    AwardPicture(Award award, std::span<const AwardEntity> entities,
                 std::unique_ptr<Projection> projection, QSize size, bool withBase = false)
        : renderer(std::move(projection)),
          exported{award, award == Award::Vucc ? 50 : 0, entities},
          view(renderer.WholeWorld(QSizeF(size))) {
        if (withBase)
            AddBaseLayers(renderer, EmbeddedOutlines());
        layers = AddAwardLayers(renderer, exported, EmbeddedOutlines());
    }
    AwardPicture(Award award, const std::string& log, bool azimuthal, QSize size,
                 bool withBase = false)
        : AwardPicture(award, RunEntities(award, log),
                       MakeProjection(azimuthal, *LocatorCentre("FN42")), size, withBase) {}

    QImage Render() const { return RenderImage(renderer, view); }
    QPointF PixelOf(GeoPoint point) const {
        return view.ToPixel(renderer.CurrentProjection().ToPlane(point));
    }
    // Shows `centre` in the middle of the picture at `zoom` (1: the whole world).
    void Frame(GeoPoint centre, double zoom) {
        view.Reset();
        view.ZoomAround(PixelOf(centre), zoom);
        const QSizeF size = view.PictureSize();
        view.PanBy(QPointF(size.width() / 2, size.height() / 2) - PixelOf(centre));
    }
    const AwardEntity& Entity(const std::string& key) const {
        return *std::ranges::find(exported.entities, key, &AwardEntity::key);
    }

    MapRenderer renderer;
    ExportedAward exported;
    MapView view;
    AwardLayers layers;
};

QColor ColourAt(const QImage& image, QPointF pixel) {
    return image.pixelColor(static_cast<int>(pixel.x()), static_cast<int>(pixel.y()));
}

GeoPoint PinPoint(const AwardEntity& entity) {
    return GeoPointFromPinUnits(entity.position->longitude, entity.position->latitude);
}

bool InUniverse(Award award, const AwardEntity& entity) {
    const std::span<const UniverseEntity> universe = award == Award::Was    ? WasUniverse()
                                                     : award == Award::Ffma ? FfmaUniverse()
                                                                            : NoUniverse();
    return std::ranges::binary_search(universe, entity.key, {}, &UniverseEntity::key);
}

// Where the colour of a state or square is looked for: a state's pin lies inside its outline;
// a square has its middle. None for other entities (DC, a field that the squares cover).
std::optional<GeoPoint> AreaCentre(Award award, const AwardEntity& entity) {
    if (award == Award::Was)
        return InUniverse(award, entity) ? std::optional(PinPoint(entity)) : std::nullopt;
    if (!AwardHasSquares(award) || entity.key.size() != 4 ||
        (AwardHasUniverse(award) && !InUniverse(award, entity)))
        return std::nullopt;
    const auto square = SquareRect(entity.key);
    return square ? std::optional(square->Centre()) : std::nullopt;
}

class AreaFills : public testing::TestWithParam<test::Case> {};

// Fills are opaque, so the pixel at the centre of every state or square of the run has its
// status's exact colour, needed ones too. Each is looked at in the first picture that shows
// it: Hawaii, the contiguous US, Alaska, each large enough for Oahu and Rhode Island; then the
// whole world.
TEST_P(AreaFills, ColourTheCentreOfEveryAreaByItsStatus) {
    const test::Case& c = GetParam();
    const Award award = *std::ranges::find(kAllAwards, c[0], AwardName);
    const std::string log = CORVALE_SHARED_DIR "/fixtures/" + c[1] + ".mdb";
    AwardPicture picture(award, log, c[2] == "azimuthal", {2400, 1200});
    std::map<EntityStatus, int> checked;
    std::set<std::string> seen;
    for (const auto& [centre, zoom] : {std::pair{GeoPoint{-157, 20.5}, 16.0},
                                       {{-97, 38}, 4.0},
                                       {{-150, 62}, 4.0},
                                       {{0, 0}, 1.0}}) {
        picture.Frame(centre, zoom);
        const QImage image = picture.Render();
        const QRectF inside = QRectF(image.rect()).adjusted(20, 20, -20, -20);
        for (const AwardEntity& entity : picture.exported.entities) {
            const auto area = AreaCentre(award, entity);
            if (!area || seen.contains(entity.key) || !inside.contains(picture.PixelOf(*area)))
                continue;
            seen.insert(entity.key);
            EXPECT_EQ(ColourAt(image, picture.PixelOf(*area)), Palette(entity.status))
                << entity.key << " " << StatusWord(entity.status);
            ++checked[entity.status];
        }
    }
    EXPECT_EQ(std::to_string(picture.layers.areas->AreaCount()), c[3]);
    EXPECT_EQ(std::to_string(checked[EntityStatus::Confirmed]), c[4]);
    EXPECT_EQ(std::to_string(checked[EntityStatus::Worked]), c[5]);
    EXPECT_EQ(std::to_string(checked[EntityStatus::Needed]), c[6]);
}

INSTANTIATE_TEST_SUITE_P(Logs, AreaFills,
                         testing::ValuesIn(test::ReadCases("map/cases/area-fills.tsv")),
                         [](const auto& test) { return test.param.name; });

// The fills lie under the land, the borders and the grid: with the base map drawn, squares
// whose centres are clear of borders and grid names keep their exact colour, the square grid
// shown or not.
TEST(AreaFills, LieUnderTheBaseMap) {
    const GeoPoint home = SquareRect("DM79")->Centre();
    for (bool azimuthal : {false, true}) {
        AwardPicture picture(Award::Ffma, RunEntities(Award::Ffma, kDemoLog),
                             MakeProjection(azimuthal, home), {1800, 900}, true);
        for (double zoom : {2.0, 6.0}) {
            picture.Frame(home, zoom);
            const QImage image = picture.Render();
            for (const char* square : {"DM79", "EM12", "DN46"}) {
                EXPECT_EQ(ColourAt(image, picture.PixelOf(SquareRect(square)->Centre())),
                          Palette(picture.Entity(square).status))
                    << square << " at zoom " << zoom << (azimuthal ? " azimuthal" : "");
            }
        }
    }
}

// The pins well inside the picture whose nearest neighbour is at least `room` pixels away, so
// that the pixels near one belong to it alone. Needed pins (rings drawn under the dots) count
// as neighbours only with `ringsToo`.
std::vector<const AwardEntity*> LonePins(const AwardPicture& picture, double room,
                                         bool ringsToo = true) {
    std::vector<const AwardEntity*> pins;
    const auto& entities = picture.exported.entities;
    const QRectF inside = QRectF(QPointF(0, 0), picture.view.PictureSize()).adjusted(8, 8, -8, -8);
    for (const AwardEntity& entity : entities) {
        if (!entity.position)
            continue;
        const QPointF pixel = picture.PixelOf(PinPoint(entity));
        const bool alone = std::ranges::none_of(entities, [&](const AwardEntity& other) {
            return &other != &entity && other.position &&
                   (ringsToo || other.status != EntityStatus::Needed) &&
                   QLineF(pixel, picture.PixelOf(PinPoint(other))).length() < room;
        });
        if (alone && inside.contains(pixel))
            pins.push_back(&entity);
    }
    return pins;
}

// Worked and confirmed entities are dots whose middle pixel has the status's exact colour;
// needed ones are rings (their middle left clear) that go when needed pins are hidden.
TEST(Pins, DotsAndRingsInThePalette) {
    for (const auto& [award, entities] :
         {std::pair{Award::Dxcc, std::span<const AwardEntity>(EditedDxccRun())},
          {Award::Iota, std::span<const AwardEntity>(RunEntities(Award::Iota, kDemoLog))}}) {
        SCOPED_TRACE(AwardName(award));
        AwardPicture picture(award, entities, std::make_unique<LatLonProjection>(), {2400, 1200});
        std::vector<const AwardEntity*> pins = LonePins(picture, 12);
        for (const AwardEntity* dot : LonePins(picture, 10, false)) {
            if (dot->status != EntityStatus::Needed)
                pins.push_back(dot);
        }
        for (bool showNeeded : {true, false}) {
            picture.layers.pins->SetShowNeeded(showNeeded);
            const QImage image = picture.Render();
            std::map<EntityStatus, int> checked;
            for (const AwardEntity* entity : pins) {
                const QPointF pixel = picture.PixelOf(PinPoint(*entity));
                const QColor colour = Palette(entity->status);
                if (entity->status != EntityStatus::Needed) {
                    EXPECT_EQ(ColourAt(image, pixel), colour) << entity->key;
                } else {
                    EXPECT_NE(ColourAt(image, pixel), colour) << entity->key;
                    const QPointF rim = pixel + QPointF(AwardPinLayer::kRingRadius, 0);
                    EXPECT_EQ(ColourAt(image, rim) == colour, showNeeded) << entity->key;
                }
                ++checked[entity->status];
            }
            EXPECT_GT(checked[EntityStatus::Confirmed], 0);
            EXPECT_EQ(checked[EntityStatus::Worked] > 0, award == Award::Dxcc);
            EXPECT_GT(checked[EntityStatus::Needed], 0);
        }
    }
}

// The pointer finds the pin under it, else the area under it, else nothing.
TEST(AwardHitTest, FindsThePinThenTheArea) {
    AwardPicture dxcc(Award::Dxcc, kSampleLog, false, {2400, 1200});
    const std::vector<const AwardEntity*> pins = LonePins(dxcc, 24);
    ASSERT_FALSE(pins.empty());
    for (const AwardEntity* pin : pins) {
        const QPointF pixel = dxcc.PixelOf(PinPoint(*pin));
        const AwardEntity* found = dxcc.layers.EntityAt(dxcc.view, pixel + QPointF(2, -2));
        ASSERT_NE(found, nullptr) << pin->key;
        EXPECT_EQ(found->key, pin->key);
        EXPECT_EQ(dxcc.layers.EntityAt(dxcc.view, pixel + QPointF(10, 0)), nullptr) << pin->key;
    }

    AwardPicture was(Award::Was, kSampleLog, false, {2400, 1200});
    for (const char* state : {"TX", "NY", "HI", "AK"}) {
        const AwardEntity* found =
            was.layers.EntityAt(was.view, was.PixelOf(PinPoint(was.Entity(state))));
        ASSERT_NE(found, nullptr) << state;
        EXPECT_EQ(found->key, state);
        EXPECT_EQ(found->contacts, was.Entity(state).contacts);
    }
    EXPECT_EQ(was.layers.EntityAt(was.view, was.PixelOf({-140, 0})), nullptr);  // Pacific
}

// Drawn in vectors, a map holds one circle per pin shown and one filled path per area, and
// the legend tells the three counts.
TEST(AwardSvg, CountsItsElementsAndLegend) {
    for (const auto& [award, showNeeded] : {std::pair{Award::Dxcc, true},
                                            {Award::Dxcc, false},
                                            {Award::Iota, true},
                                            {Award::Was, true},
                                            {Award::Ffma, true},
                                            {Award::Vucc, true}}) {
        const std::string label = AwardName(award).data();
        AwardPicture picture(award, kSampleLog, false, {1600, 800});
        picture.layers.pins->SetShowNeeded(showNeeded);
        const QString svg =
            QString::fromUtf8(MapFileBytes(picture.renderer, picture.view, MapFormat::Svg));
        const StatusCounts counts = CountStatuses(picture.exported.entities);
        std::size_t pins = 0;
        for (const AwardEntity& entity : picture.exported.entities) {
            // A state with an outline, a square or a field is filled, not pinned.
            const bool area = award == Award::Was
                                  ? EmbeddedOutlines().FindState(entity.key) != nullptr
                                  : AwardHasSquares(award) &&
                                        (FieldRect(entity.key) ||
                                         (entity.key.size() == 4 && SquareRect(entity.key)));
            pins +=
                entity.position && (showNeeded || entity.status != EntityStatus::Needed) && !area;
        }
        EXPECT_EQ(std::size_t(svg.count("<circle") + svg.count("<ellipse")), pins) << label;
        EXPECT_EQ(std::size_t(svg.count(QRegularExpression("<path[^>]*fill-rule"))),
                  picture.layers.areas->AreaCount())
            << label;
        EXPECT_TRUE(svg.contains(QStringLiteral(">Confirmed %1<").arg(counts.confirmed))) << label;
        EXPECT_TRUE(svg.contains(QStringLiteral(">Worked %1<").arg(counts.worked))) << label;
        EXPECT_EQ(svg.contains(QStringLiteral(">Needed %1<").arg(counts.needed)),
                  award != Award::Vucc)
            << label;
    }
}

MapRenderer BaseMap() {
    MapRenderer renderer(std::make_unique<LatLonProjection>());
    AddBaseLayers(renderer, EmbeddedOutlines());
    return renderer;
}

TEST(BaseMap, ShowsTheSquareGridOnlyWhenZoomedIn) {
    const MapRenderer renderer = BaseMap();
    const auto gridPixels = [&](const MapView& view) {
        const QImage image = RenderImage(renderer, view);
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == map_style::kSquareGrid;
        }
        return count;
    };
    MapView view = renderer.WholeWorld({900, 450});  // 2.5 pixels a degree
    EXPECT_EQ(gridPixels(view), 0);
    view.ZoomAround({450, 225}, 8);  // 20 pixels a degree
    EXPECT_GT(gridPixels(view), 10000);
}

// The base map paints land, sea and the bands off the earth; each format comes out as a file
// of its kind, at the size asked for, vector formats in vectors: the land a filled shape, every
// field's name a text.
TEST(BaseMap, PaintsLandAndSeaAndIsWrittenInEachFormat) {
    const MapRenderer renderer = BaseMap();
    const MapView view = renderer.WholeWorld({1800, 1000});
    const QImage image = RenderImage(renderer, view);
    const auto at = [&](GeoPoint point) {
        return ColourAt(image, view.ToPixel(renderer.CurrentProjection().ToPlane(point)));
    };
    EXPECT_EQ(at({95, 62}), map_style::kLand);                     // Siberia
    EXPECT_EQ(at({-137, -22}), map_style::kSea);                   // South Pacific
    EXPECT_EQ(image.pixelColor(900, 20), map_style::kBackground);  // band above

    const QByteArray png = MapFileBytes(renderer, view, MapFormat::Png);
    EXPECT_EQ(QImage::fromData(png, "PNG").size(), QSize(1800, 1000));
    const QByteArray svg = MapFileBytes(renderer, view, MapFormat::Svg);
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 1800 1000\"")) << svg.left(300).toStdString();
    EXPECT_EQ(svg.count("<text"), kFieldColumns * kFieldRows);
    EXPECT_TRUE(svg.contains("fill=\"#faf8f0\""));
    const QByteArray pdf = MapFileBytes(renderer, view, MapFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 100000);
}

}  // namespace
}  // namespace corvale
