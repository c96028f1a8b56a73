#pragma once

#include <QPainterPath>

#include "map/MapLayer.h"
#include "map/OutlineData.h"
#include "map/PlanePath.h"

namespace corvale {

// Coasts and country borders, and the borders of the US states.
class BorderLayer : public MapLayer {
  public:
    explicit BorderLayer(const OutlineData& outlines) : m_outlines(outlines) {}

    void SetProjection(const Projection& projection) override;
    void Paint(QPainter& painter, const MapView& view) const override;

  private:
    const OutlineData& m_outlines;
    std::vector<PlaneShape> m_countryBorders;
    std::vector<PlaneShape> m_stateBorders;
};

}  // namespace corvale
