#pragma once

#include <QImage>
#include <QPointF>
#include <QString>
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "awards/AwardRun.h"
#include "export/AwardExport.h"
#include "map/MapLayer.h"
#include "map/MapRenderer.h"
#include "map/OutlineData.h"
#include "map/PlanePath.h"

namespace corvale {

// How many entities of a run stand at each status, as the legend tells them.
struct StatusCounts {
    std::size_t confirmed = 0;
    std::size_t worked = 0;
    std::size_t needed = 0;
};
StatusCounts CountStatuses(std::span<const AwardEntity> entities);

// "Confirmed", "Worked", "Needed": the status as the legend and the tooltip name it.
QString StatusTitle(EntityStatus status);

// The entities that cover an area, filled by status under the borders: the states of WAS, the
// squares (and two-character fields) of VUCC and FFMA.
class AwardAreaLayer : public MapLayer {
  public:
    struct Area {
        AwardEntity entity;
        const OutlineRegion* region = nullptr;  // a state's outline, else `rect`
        GeoRect rect;
    };

    explicit AwardAreaLayer(std::vector<Area> areas);

    void SetProjection(const Projection& projection) override;
    void Paint(QPainter& painter, const MapView& view) const override;

    // The entity whose area holds the plane point, or null.
    const AwardEntity* EntityAt(QPointF plane) const;
    std::size_t AreaCount() const { return m_areas.size(); }

  private:
    std::vector<Area> m_areas;
    std::vector<PlaneShape> m_shapes;  // one per area, same order
};

// The entities that sit at a point, over the grid: DXCC and IOTA, and any entity of the other
// awards that has a position but no area (a state without an outline). Worked and confirmed
// entities are filled dots; needed ones small hollow rings, which can be hidden.
class AwardPinLayer : public MapLayer {
  public:
    struct Pin {
        AwardEntity entity;
        GeoPoint point;
    };

    // Radii in pixels: a dot and a ring.
    static constexpr int kDotRadius = 4;
    static constexpr int kRingRadius = 3;

    explicit AwardPinLayer(std::vector<Pin> pins);

    void SetProjection(const Projection& projection) override;
    void Paint(QPainter& painter, const MapView& view) const override;

    void SetShowNeeded(bool show) { m_showNeeded = show; }
    bool ShowsNeeded() const { return m_showNeeded; }
    // The entity of the pin nearest to `pixel` within reach of the pointer, or null.
    const AwardEntity* EntityAt(const MapView& view, QPointF pixel) const;
    std::size_t PinCount() const { return m_pins.size(); }

  private:
    bool Shown(const Pin& pin) const;
    void PaintVector(QPainter& painter, const MapView& view) const;
    void PaintSprites(QPainter& painter, const MapView& view) const;

    std::vector<Pin> m_pins;  // needed first, so that worked and confirmed pins lie on top
    std::vector<QPointF> m_planePins;
    bool m_showNeeded = true;
    // A pin drawn once per status, stamped at each position on raster devices: smoothing a
    // thousand circles on every repaint costs more than the rest of the map.
    mutable std::array<QImage, 3> m_sprites;
};

// The award's name and its counts in the palette, in the picture's lower left corner.
class AwardLegendLayer : public MapLayer {
  public:
    AwardLegendLayer(std::string title, StatusCounts counts, bool hasNeeded)
        : m_title(std::move(title)), m_counts(counts), m_hasNeeded(hasNeeded) {}

    void SetProjection(const Projection&) override {}
    void Paint(QPainter& painter, const MapView& view) const override;

  private:
    std::string m_title;
    StatusCounts m_counts;
    bool m_hasNeeded;  // VUCC has no fixed set of entities, so nothing is needed
};

// The layers of one award as AddAwardLayers placed them, to hit-test and to take away again.
struct AwardLayers {
    AwardAreaLayer* areas = nullptr;
    AwardPinLayer* pins = nullptr;
    AwardLegendLayer* legend = nullptr;

    // The entity under `pixel`: a pin first (it lies on top), else an area.
    const AwardEntity* EntityAt(const MapView& view, QPointF pixel) const;
    void RemoveFrom(MapRenderer& renderer);
};

// Adds the award of a completed run to a map: areas, pins and legend. `outlines` must outlive
// the renderer.
AwardLayers AddAwardLayers(MapRenderer& renderer, const ExportedAward& award,
                           const OutlineData& outlines);

}  // namespace corvale
