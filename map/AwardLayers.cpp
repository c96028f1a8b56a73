#include "map/AwardLayers.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>
#include <optional>

#include "export/StatusPalette.h"
#include "map/Maidenhead.h"

namespace corvale {

namespace {

QColor StatusQColor(EntityStatus status) {
    const StatusColour colour = ColourOf(status);
    return {colour.red, colour.green, colour.blue};
}

std::size_t StatusIndex(EntityStatus status) {
    return static_cast<std::size_t>(status);
}

const QColor kDotOutline(0x30, 0x30, 0x30);
constexpr double kRingWidth = 1.5;
// How far from a pin's centre the pointer still finds it, in pixels.
constexpr double kPinReach = AwardPinLayer::kDotRadius + 3;

// The area of a grid award's key: its square, or its field for a two-character key.
std::optional<GeoRect> GridArea(std::string_view key) {
    if (key.size() == 2)
        return FieldRect(key);
    if (key.size() == 4)
        return SquareRect(key);
    return std::nullopt;
}

// A dot or ring in a status's colour, centred on the picture's middle pixel.
QImage PinSprite(EntityStatus status, qreal pixelRatio) {
    const int side = 2 * AwardPinLayer::kDotRadius + 3;
    QImage sprite(QSize(side, side) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    sprite.setDevicePixelRatio(pixelRatio);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(side / 2.0, side / 2.0);
    if (status == EntityStatus::Needed) {
        painter.setPen(QPen(StatusQColor(status), kRingWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, AwardPinLayer::kRingRadius, AwardPinLayer::kRingRadius);
    } else {
        painter.setPen(QPen(kDotOutline, 1));
        painter.setBrush(StatusQColor(status));
        painter.drawEllipse(centre, AwardPinLayer::kDotRadius, AwardPinLayer::kDotRadius);
    }
    return sprite;
}

bool IsRasterDevice(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Raster;
}

}  // namespace

StatusCounts CountStatuses(std::span<const AwardEntity> entities) {
    StatusCounts counts;
    for (const AwardEntity& entity : entities) {
        switch (entity.status) {
            case EntityStatus::Confirmed:
                ++counts.confirmed;
                break;
            case EntityStatus::Worked:
                ++counts.worked;
                break;
            case EntityStatus::Needed:
                ++counts.needed;
                break;
        }
    }
    return counts;
}

QString StatusTitle(EntityStatus status) {
    QString title = QString::fromUtf8(StatusWord(status));
    title[0] = title[0].toUpper();
    return title;
}

AwardAreaLayer::AwardAreaLayer(std::vector<Area> areas) : m_areas(std::move(areas)) {}

void AwardAreaLayer::SetProjection(const Projection& projection) {
    m_shapes.clear();
    m_shapes.reserve(m_areas.size());
    for (const Area& area : m_areas) {
        m_shapes.emplace_back(area.region != nullptr ? RingsToPlane(projection, area.region->rings)
                                                     : GeoRectToPlane(projection, area.rect));
    }
}

void AwardAreaLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.setTransform(view.PlaneToPixel());
    painter.setPen(Qt::NoPen);
    // As the land: the borders and the grid drawn above hide the stepped edges, and smoothing
    // large fills (a whole field) costs a good part of a repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF visible = view.VisiblePlane();
    for (std::size_t index = 0; index < m_areas.size(); ++index) {
        const PlaneShape& shape = m_shapes[index];
        if (!shape.bounds.intersects(visible))
            continue;
        painter.setBrush(StatusQColor(m_areas[index].entity.status));
        painter.drawPath(shape.path);
    }
}

const AwardEntity* AwardAreaLayer::EntityAt(QPointF plane) const {
    for (std::size_t index = 0; index < m_areas.size(); ++index) {
        const PlaneShape& shape = m_shapes[index];
        if (shape.bounds.contains(plane) && shape.path.contains(plane))
            return &m_areas[index].entity;
    }
    return nullptr;
}

AwardPinLayer::AwardPinLayer(std::vector<Pin> pins) : m_pins(std::move(pins)) {
    std::ranges::stable_sort(m_pins, std::greater<>{},
                             [](const Pin& pin) { return StatusIndex(pin.entity.status); });
}

void AwardPinLayer::SetProjection(const Projection& projection) {
    m_planePins.clear();
    m_planePins.reserve(m_pins.size());
    for (const Pin& pin : m_pins)
        m_planePins.push_back(projection.ToPlane(pin.point));
}

bool AwardPinLayer::Shown(const Pin& pin) const {
    return m_showNeeded || pin.entity.status != EntityStatus::Needed;
}

void AwardPinLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.resetTransform();
    if (IsRasterDevice(painter))
        PaintSprites(painter, view);
    else
        PaintVector(painter, view);
}

void AwardPinLayer::PaintSprites(QPainter& painter, const MapView& view) const {
    const qreal pixelRatio = painter.device()->devicePixelRatioF();
    auto& sprites = m_sprites;
    if (sprites[0].isNull() || sprites[0].devicePixelRatio() != pixelRatio) {
        for (EntityStatus status : kAllStatuses)
            sprites[StatusIndex(status)] = PinSprite(status, pixelRatio);
    }
    const QRectF picture = QRectF(QPointF(0, 0), view.PictureSize()).adjusted(-8, -8, 8, 8);
    const double half = sprites[0].deviceIndependentSize().width() / 2;
    for (std::size_t index = 0; index < m_pins.size(); ++index) {
        if (!Shown(m_pins[index]))
            continue;
        const QPointF pixel = view.ToPixel(m_planePins[index]);
        if (!picture.contains(pixel))
            continue;
        // The sprite's middle pixel on the pixel that holds the position.
        const QPointF corner(std::floor(pixel.x()) + 0.5 - half,
                             std::floor(pixel.y()) + 0.5 - half);
        painter.drawImage(corner, sprites[StatusIndex(m_pins[index].entity.status)]);
    }
}

void AwardPinLayer::PaintVector(QPainter& painter, const MapView& view) const {
    const QRectF picture = QRectF(QPointF(0, 0), view.PictureSize()).adjusted(-8, -8, 8, 8);
    for (std::size_t index = 0; index < m_pins.size(); ++index) {
        const Pin& pin = m_pins[index];
        if (!Shown(pin))
            continue;
        const QPointF pixel = view.ToPixel(m_planePins[index]);
        if (!picture.contains(pixel))
            continue;
        if (pin.entity.status == EntityStatus::Needed) {
            painter.setPen(QPen(StatusQColor(pin.entity.status), kRingWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(pixel, kRingRadius, kRingRadius);
        } else {
            painter.setPen(QPen(kDotOutline, 1));
            painter.setBrush(StatusQColor(pin.entity.status));
            painter.drawEllipse(pixel, kDotRadius, kDotRadius);
        }
    }
}

const AwardEntity* AwardPinLayer::EntityAt(const MapView& view, QPointF pixel) const {
    const AwardEntity* nearest = nullptr;
    double nearestDistance = kPinReach;
    for (std::size_t index = 0; index < m_pins.size(); ++index) {
        if (!Shown(m_pins[index]))
            continue;
        const double distance = QLineF(view.ToPixel(m_planePins[index]), pixel).length();
        // Ties go to the later pin, which is drawn on top.
        if (distance <= nearestDistance) {
            nearestDistance = distance;
            nearest = &m_pins[index].entity;
        }
    }
    return nearest;
}

void AwardLegendLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.resetTransform();
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    struct Row {
        EntityStatus status;
        std::size_t count;
    };
    std::vector<Row> rows = {{EntityStatus::Confirmed, m_counts.confirmed},
                             {EntityStatus::Worked, m_counts.worked}};
    if (m_hasNeeded)
        rows.push_back({EntityStatus::Needed, m_counts.needed});
    const int line = metrics.height() + 4;
    const int swatch = metrics.height() - 2;
    int textWidth = metrics.horizontalAdvance(QString::fromStdString(m_title));
    std::vector<QString> texts;
    for (const Row& row : rows) {
        texts.push_back(QStringLiteral("%1 %2").arg(StatusTitle(row.status)).arg(row.count));
        textWidth = std::max(textWidth, swatch + 6 + metrics.horizontalAdvance(texts.back()));
    }
    const int margin = 8;
    const double height = 2 * margin + line * static_cast<double>(1 + rows.size());
    const QRectF box(12, view.PictureSize().height() - 12 - height, textWidth + 2 * margin, height);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    double y = box.top() + margin;
    painter.drawText(QRectF(box.left() + margin, y, textWidth, line), Qt::AlignVCenter,
                     QString::fromStdString(m_title));
    for (std::size_t index = 0; index < rows.size(); ++index) {
        y += line;
        painter.setPen(QPen(kDotOutline, 1));
        painter.setBrush(StatusQColor(rows[index].status));
        painter.drawRect(QRectF(box.left() + margin, y + (line - swatch) / 2.0, swatch, swatch));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box.left() + margin + swatch + 6, y, textWidth, line),
                         Qt::AlignVCenter, texts[index]);
    }
}

const AwardEntity* AwardLayers::EntityAt(const MapView& view, QPointF pixel) const {
    if (pins != nullptr) {
        if (const AwardEntity* entity = pins->EntityAt(view, pixel))
            return entity;
    }
    return areas != nullptr ? areas->EntityAt(view.ToPlane(pixel)) : nullptr;
}

void AwardLayers::RemoveFrom(MapRenderer& renderer) {
    for (const MapLayer* layer : std::initializer_list<const MapLayer*>{areas, pins, legend}) {
        if (layer != nullptr)
            renderer.RemoveLayer(*layer);
    }
    *this = {};
}

AwardLayers AddAwardLayers(MapRenderer& renderer, const ExportedAward& award,
                           const OutlineData& outlines) {
    std::vector<AwardAreaLayer::Area> areas;
    std::vector<AwardPinLayer::Pin> pins;
    const bool gridSquares = AwardHasSquares(award.award);
    for (const AwardEntity& entity : award.entities) {
        if (award.award == Award::Was) {
            if (const OutlineRegion* state = outlines.FindState(entity.key)) {
                areas.push_back({entity, state, {}});
                continue;
            }
        } else if (gridSquares) {
            if (const auto rect = GridArea(entity.key)) {
                areas.push_back({entity, nullptr, *rect});
                continue;
            }
        }
        if (entity.position) {
            pins.push_back({entity, GeoPointFromPinUnits(entity.position->longitude,
                                                         entity.position->latitude)});
        }
    }
    // A field lies under the squares in it, which have their own statuses.
    std::ranges::stable_partition(areas, [](const AwardAreaLayer::Area& area) {
        return area.region == nullptr && area.rect.width > kSquareWidth;
    });
    AwardLayers layers;
    layers.areas = static_cast<AwardAreaLayer*>(
        &renderer.AddLayer(std::make_unique<AwardAreaLayer>(std::move(areas)), MapDepth::Fills));
    layers.pins = static_cast<AwardPinLayer*>(
        &renderer.AddLayer(std::make_unique<AwardPinLayer>(std::move(pins)), MapDepth::Markers));
    layers.legend = static_cast<AwardLegendLayer*>(&renderer.AddLayer(
        std::make_unique<AwardLegendLayer>(ExportLabel(award), CountStatuses(award.entities),
                                           AwardHasUniverse(award.award)),
        MapDepth::Legend));
    return layers;
}

}  // namespace corvale
