#include "map/BorderLayer.h"

#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

namespace {

QPainterPath RegionsToPlane(const Projection& projection,
                            const std::vector<OutlineRegion>& regions) {
    QPainterPath path;
    for (const OutlineRegion& region : regions)
        path.addPath(RingsToPlane(projection, region.rings));
    return path;
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
    painter.drawPath(m_stateBorders);
    painter.setPen(map_style::HairlinePen(map_style::kCountryBorder, 0.8));
    painter.drawPath(m_countryBorders);
}

}  // namespace corvale
