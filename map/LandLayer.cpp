#include "map/LandLayer.h"

#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

void LandLayer::SetProjection(const Projection& projection) {
    m_sea = projection.WorldOutline();
    m_countries.clear();
    for (const OutlineRegion& country : m_outlines.countries)
        m_countries.emplace_back(RingsToPlane(projection, country.rings));
}

void LandLayer::Paint(QPainter& painter, const MapView& view) const {
    painter.setTransform(view.PlaneToPixel());
    painter.setPen(Qt::NoPen);
    painter.setBrush(map_style::kSea);
    // Zoomed in, the sea often covers the whole picture; a rectangle is far quicker to fill
    // than the outline of the earth blown up many times.
    if (m_sea.contains(view.VisiblePlane()))
        painter.fillRect(view.VisiblePlane(), map_style::kSea);
    else
        painter.drawPath(m_sea);
    painter.setBrush(map_style::kLand);
    // The coasts drawn above hide the fill's stepped edge; smoothing it would cost most of the
    // repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawVisible(painter, m_countries, view);
}

}  // namespace corvale
