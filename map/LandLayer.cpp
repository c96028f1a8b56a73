#include "map/LandLayer.h"

#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

void LandLayer::SetProjection(const Projection& projection) {
    m_sea = projection.WorldOutline();
    m_countries.clear();
    for (const OutlineRegion& country : m_outlines.countries)
        m_countries.push_back(RingsToPlane(projection, country.rings));
}

void LandLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.setTransform(view.PlaneToPixel());
    painter.setPen(Qt::NoPen);
    painter.setBrush(map_style::kSea);
    painter.drawPath(m_sea);
    painter.setBrush(map_style::kLand);
    // The coasts drawn above hide the fill's stepped edge; smoothing it would cost most of the
    // repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QPainterPath& country : m_countries)
        painter.drawPath(country);
}

}  // namespace corvale
