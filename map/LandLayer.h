#pragma once

#include <QPainterPath>
#include <vector>

#include "map/MapLayer.h"
#include "map/OutlineData.h"
#include "map/PlanePath.h"

namespace corvale {

// The sea (the whole earth) and the land on it.
class LandLayer : public MapLayer {
  public:
    explicit LandLayer(const OutlineData& outlines) : m_outlines(outlines) {}

    void SetProjection(const Projection& projection) override;
    void Paint(QPainter& painter, const MapView& view) const override;

  private:
    const OutlineData& m_outlines;
    QPainterPath m_sea;
    std::vector<PlaneShape> m_countries;
};

}  // namespace corvale
