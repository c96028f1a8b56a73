// The award on the map, from completed runs of the demo log: every state and square filled in
// its status's exact colour, dots and rings at the pins, the legend, what the pointer finds and
// the files a map is saved as.
#include <gtest/gtest.h>
#include <QImage>
#include <QRegularExpression>
#include <QString>

#include <algorithm>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>

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

// The entities of a DXCC run of a log held in memory, one contact per prefix: confirmed or
// worked only.
std::vector<AwardEntity> DxccRunOf(const std::vector<std::pair<const char*, bool>>& contacts) {
    QsoTableBuilder table;
    for (const auto& [prefix, confirmed] : contacts) {
        table.AddRow()
            .Set(QsoColumn::Prefix, prefix)
            .Set(QsoColumn::Confirm, confirmed ? "1" : "")
            .Set(QsoColumn::Valid, std::int32_t{1});
    }
    const test::TempFolder folder;
    RunRequest request;
    request.award = Award::Dxcc;
    request.lstPath = folder.File("pins.lst");
    CSRC2006QSO qsoSet;
    qsoSet.m_strSort = std::string(AwardSortText(Award::Dxcc));
    qsoSet.Open(table.Build());
    RunObserver quiet;
    return RunAward(request, qsoSet, quiet).entities;
}

// The entities of a completed run of a log (VUCC on 50 MHz), run once per award and log.
const std::vector<AwardEntity>& RunEntities(Award award, const std::string& log) {
    static std::map<std::pair<Award, std::string>, std::vector<AwardEntity>> runs;
    auto found = runs.find({award, log});
    if (found == runs.end()) {
        const test::TempFolder folder;
        RunRequest request;
        request.award = award;
        request.lstPath = folder.File("pins.lst");
        CSRC2006QSO qsoSet(log);
        RunObserver quiet;
        found =
            runs.emplace(std::pair(award, log), RunAward(request, qsoSet, quiet).entities).first;
    }
    return found->second;
}

// A map of one award's run: its layers alone (no land, borders or grid, so that every centre
// shows the award's own colour), or with the base map under them.
struct AwardPicture {
    AwardPicture(Award award, const std::string& log, std::unique_ptr<Projection> projection,
                 QSize size, bool withBase = false)
        : AwardPicture(award, RunEntities(award, log), std::move(projection), size, withBase) {}
    AwardPicture(Award award, std::span<const AwardEntity> entities,
                 std::unique_ptr<Projection> projection, QSize size, bool withBase = false)
        : renderer(std::move(projection)),
          exported{award, award == Award::Vucc ? 50 : 0, entities},
          view(renderer.WholeWorld(QSizeF(size))) {
        if (withBase)
            AddBaseLayers(renderer, EmbeddedOutlines());
        layers = AddAwardLayers(renderer, exported, EmbeddedOutlines());
    }

    QImage Render() const {
        QImage image(view.PictureSize().toSize(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        renderer.Render(painter, view);
        return image;
    }
    QPointF PixelOf(GeoPoint point) const {
        return view.ToPixel(renderer.CurrentProjection().ToPlane(point));
    }

    MapRenderer renderer;
    ExportedAward exported;
    MapView view;
    AwardLayers layers;
};

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

// Whether the map fills the entity's area rather than pinning it.
bool IsArea(Award award, const AwardEntity& entity) {
    if (award == Award::Was)
        return EmbeddedOutlines().FindState(entity.key) != nullptr;
    return AwardHasSquares(award) &&
           (FieldRect(entity.key) || (entity.key.size() == 4 && SquareRect(entity.key)));
}

struct AreaCase {
    const char* name;
    Award award;
    std::string log;
    bool azimuthal;
    std::size_t areas;  // states, squares and fields that the run has
    // The states or squares of the award's set (every square for VUCC), by status.
    int confirmed;
    int worked;
    int needed;
};

void PrintTo(const AreaCase& c, std::ostream* out) {
    *out << c.name;
}

class AreaFills : public testing::TestWithParam<AreaCase> {};

// Shows `centre` in the middle of the picture at `zoom` (1: the whole world).
void Frame(AwardPicture& picture, GeoPoint centre, double zoom) {
    picture.view.Reset();
    picture.view.ZoomAround(picture.PixelOf(centre), zoom);
    const QSizeF size = picture.view.PictureSize();
    picture.view.PanBy(QPointF(size.width() / 2, size.height() / 2) - picture.PixelOf(centre));
}

// Fills are opaque, so the pixel at the centre of every state or square of the run has its
// status's exact colour, needed ones too. Each is looked at in the first picture that shows
// it: Hawaii, the contiguous US, Alaska, each large enough for Oahu and Rhode Island; then the
// whole world.
TEST_P(AreaFills, ColourTheCentreOfEveryAreaByItsStatus) {
    const AreaCase& c = GetParam();
    std::unique_ptr<Projection> projection;
    if (c.azimuthal)
        projection = std::make_unique<AzimuthalProjection>(*LocatorCentre("FN42"));
    else
        projection = std::make_unique<LatLonProjection>();
    AwardPicture picture(c.award, c.log, std::move(projection), {2400, 1200});
    struct Framing {
        GeoPoint centre;
        double zoom;
    };
    std::map<EntityStatus, int> checked;
    std::set<std::string> seen;
    for (const Framing& framing : {Framing{{-157, 20.5}, 16}, Framing{{-97, 38}, 4},
                                   Framing{{-150, 62}, 4}, Framing{{0, 0}, 1}}) {
        Frame(picture, framing.centre, framing.zoom);
        const QImage image = picture.Render();
        const QRectF inside = QRectF(image.rect()).adjusted(20, 20, -20, -20);
        for (const AwardEntity& entity : picture.exported.entities) {
            const auto centre = AreaCentre(c.award, entity);
            if (!centre || seen.contains(entity.key))
                continue;
            const QPointF pixel = picture.PixelOf(*centre);
            if (!inside.contains(pixel))
                continue;
            seen.insert(entity.key);

            EXPECT_EQ(image.pixelColor(static_cast<int>(pixel.x()), static_cast<int>(pixel.y())),
                      Palette(entity.status))
                << entity.key << " " << StatusWord(entity.status);
            ++checked[entity.status];
        }
    }
    EXPECT_EQ(picture.layers.areas->AreaCount(), c.areas);
    EXPECT_EQ(checked[EntityStatus::Confirmed], c.confirmed);
    EXPECT_EQ(checked[EntityStatus::Worked], c.worked);
    EXPECT_EQ(checked[EntityStatus::Needed], c.needed);
}

INSTANTIATE_TEST_SUITE_P(
    DemoLog, AreaFills,
    // Every state confirmed, and DC besides; FFMA's fields EM and EN and VUCC's five fields
    // besides their squares.
    testing::Values(
        AreaCase{"DemoWasLatitudeLongitude", Award::Was, kDemoLog, false, 51, 50, 0, 0},
        AreaCase{"SampleWasAzimuthal", Award::Was, kSampleLog, true, 51, 50, 0, 0},
        AreaCase{"DemoFfmaLatitudeLongitude", Award::Ffma, kDemoLog, false, 490, 10, 2, 476},
        AreaCase{"DemoFfmaAzimuthal", Award::Ffma, kDemoLog, true, 490, 10, 2, 476},
        AreaCase{"DemoVucc50LatitudeLongitude", Award::Vucc, kDemoLog, false, 47, 26, 16, 0}),
    [](const auto& test) { return std::string(test.param.name); });

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

// Confirmed and worked-only countries far apart, as an edited log holds them.
const std::vector<AwardEntity>& EditedDxccRun() {
    static const std::vector<AwardEntity> entities = DxccRunOf(
        {{"G", true}, {"JA", true}, {"VK", true}, {"ZS", false}, {"PY", false}, {"KH6", false}});
    return entities;
}

struct PinCase {
    const char* name;
    Award award;
    std::span<const AwardEntity> (*entities)();
    bool hasWorked;  // the run has worked-only entities
};

void PrintTo(const PinCase& c, std::ostream* out) {
    *out << c.name;
}

class Pins : public testing::TestWithParam<PinCase> {};

// Worked and confirmed entities are dots whose middle pixel has the status's exact colour;
// needed ones are rings (their middle left clear) that go when needed pins are hidden.
TEST_P(Pins, DotsAndRingsInThePalette) {
    AwardPicture picture(GetParam().award, GetParam().entities(),
                         std::make_unique<LatLonProjection>(), {2400, 1200});
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
            const int x = static_cast<int>(pixel.x());
            const int y = static_cast<int>(pixel.y());
            const QColor colour = Palette(entity->status);
            if (entity->status != EntityStatus::Needed) {
                EXPECT_EQ(image.pixelColor(x, y), colour) << entity->key;
            } else {
                EXPECT_NE(image.pixelColor(x, y), colour) << entity->key;
                EXPECT_EQ(image.pixelColor(x + AwardPinLayer::kRingRadius, y) == colour, showNeeded)
                    << entity->key;
            }
            ++checked[entity->status];
        }
        EXPECT_GT(checked[EntityStatus::Confirmed], 0);
        EXPECT_EQ(checked[EntityStatus::Worked] > 0, GetParam().hasWorked);
        EXPECT_GT(checked[EntityStatus::Needed], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Logs, Pins,
    testing::Values(
        PinCase{"EditedDxcc", Award::Dxcc,
                [] { return std::span<const AwardEntity>(EditedDxccRun()); }, true},
        PinCase{"DemoIota", Award::Iota,
                [] { return std::span<const AwardEntity>(RunEntities(Award::Iota, kDemoLog)); },
                false}),
    [](const auto& test) { return std::string(test.param.name); });

// The pointer finds the pin under it, else the area under it, else nothing.
TEST(AwardHitTest, FindsThePinThenTheArea) {
    AwardPicture dxcc(Award::Dxcc, kSampleLog, std::make_unique<LatLonProjection>(), {2400, 1200});
    const std::vector<const AwardEntity*> pins = LonePins(dxcc, 24);
    ASSERT_FALSE(pins.empty());
    for (const AwardEntity* pin : pins) {
        const QPointF pixel = dxcc.PixelOf(PinPoint(*pin));
        ASSERT_NE(dxcc.layers.EntityAt(dxcc.view, pixel + QPointF(2, -2)), nullptr);
        EXPECT_EQ(dxcc.layers.EntityAt(dxcc.view, pixel + QPointF(2, -2))->key, pin->key);
        EXPECT_EQ(dxcc.layers.EntityAt(dxcc.view, pixel + QPointF(10, 0)), nullptr) << pin->key;
    }

    AwardPicture was(Award::Was, kSampleLog, std::make_unique<LatLonProjection>(), {2400, 1200});
    for (const char* state : {"TX", "NY", "HI", "AK"}) {
        const OutlineRegion* outline = EmbeddedOutlines().FindState(state);
        const auto entity = std::ranges::find(was.exported.entities, state, &AwardEntity::key);
        ASSERT_NE(outline, nullptr);
        const AwardEntity* found = was.layers.EntityAt(was.view, was.PixelOf(PinPoint(*entity)));
        ASSERT_NE(found, nullptr) << state;
        EXPECT_EQ(found->key, state);
        EXPECT_EQ(found->contacts, entity->contacts);
    }
    EXPECT_EQ(was.layers.EntityAt(was.view, was.PixelOf({-140, 0})), nullptr);  // Pacific
}

QString SvgOf(const AwardPicture& picture) {
    return QString::fromUtf8(MapFileBytes(picture.renderer, picture.view, MapFormat::Svg));
}

// Drawn in vectors, a map holds one circle per pin shown and one filled path per area, and
// the legend tells the three counts.
TEST(AwardSvg, CountsItsElementsAndLegend) {
    struct Case {
        Award award;
        bool showNeeded;
    };
    for (const Case& c :
         {Case{Award::Dxcc, true}, Case{Award::Dxcc, false}, Case{Award::Iota, true},
          Case{Award::Was, true}, Case{Award::Ffma, true}, Case{Award::Vucc, true}}) {
        AwardPicture picture(c.award, kSampleLog, std::make_unique<LatLonProjection>(),
                             {1600, 800});
        picture.layers.pins->SetShowNeeded(c.showNeeded);
        const QString svg = SvgOf(picture);
        const StatusCounts counts = CountStatuses(picture.exported.entities);
        const std::string label = AwardName(c.award).data();
        const int areas = static_cast<int>(picture.layers.areas->AreaCount());
        int pins = 0;
        for (const AwardEntity& entity : picture.exported.entities) {
            if (entity.position && (c.showNeeded || entity.status != EntityStatus::Needed) &&
                !IsArea(c.award, entity))
                ++pins;
        }
        EXPECT_EQ(svg.count("<circle") + svg.count("<ellipse"), pins) << label;
        EXPECT_EQ(svg.count(QRegularExpression("<path[^>]*fill-rule")), areas) << label;
        EXPECT_TRUE(svg.contains(QStringLiteral(">Confirmed %1<").arg(counts.confirmed))) << label;
        EXPECT_TRUE(svg.contains(QStringLiteral(">Worked %1<").arg(counts.worked))) << label;
        EXPECT_EQ(svg.contains(QStringLiteral(">Needed %1<").arg(counts.needed)),
                  c.award != Award::Vucc)
            << label;
    }
}

// Each format comes out as a file of its kind, a picture at the size asked for.
TEST(MapFiles, WriteEachFormat) {
    const AwardPicture picture(Award::Was, kDemoLog, std::make_unique<LatLonProjection>(),
                               {1000, 500}, true);
    const QByteArray png = MapFileBytes(picture.renderer, picture.view, MapFormat::Png);
    EXPECT_EQ(QImage::fromData(png, "PNG").size(), QSize(1000, 500));
    const QByteArray svg = MapFileBytes(picture.renderer, picture.view, MapFormat::Svg);
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 1000 500\""));
    const QByteArray pdf = MapFileBytes(picture.renderer, picture.view, MapFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
}

}  // namespace
}  // namespace corvale
