#include "map/BorderLayer.h"

#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

namespace {

std::vector<PlaneShape> RegionsToPlane(const Projection& projection,
                                       const std::vector<OutlineRegion>& regions) {
    std::vector<PlaneShape> shapes;
    for (const OutlineRegion& region : regions)
        shapes.emplace_back(RingsToPlane(projection, region.rings));
    return shapes;
}

}  // namespace

void BorderLayer::SetProjection(const Projection& projection) {
    m_countryBorders = RegionsToPlane(projection, m_outlines.countries);
    m_stateBorders = RegionsToPlane(projection, m_outlines.states);
}

void BorderLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.setTransform(view.PlaneToPixel());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(map_style::HairlinePen(map_style::kStateBorder, 0.6));
    DrawVisible(painter, m_stateBorders, view);
    painter.setPen(map_style::HairlinePen(map_style::kCountryBorder, 0.8));
    DrawVisible(painter, m_countryBorders, view);
}

}  // namespace corvale
