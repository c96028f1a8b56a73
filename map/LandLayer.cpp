#include "map/LandLayer.h"

#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

void LandLayer::SetProjection(const Projection& projection) {
    m_sea = projection.WorldOutline();
    m_land = QPainterPath();
    m_land.setFillRule(Qt::WindingFill);
    for (const OutlineRegion& country : m_outlines.countries)
        m_land.addPath(RingsToPlane(projection, country.rings));
}

void LandLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.setTransform(view.PlaneToPixel());
    painter.setPen(Qt::NoPen);
    painter.setBrush(map_style::kSea);
    painter.drawPath(m_sea);
    painter.setBrush(map_style::kLand);
    painter.drawPath(m_land);
}

}  // namespace corvale
