#include "map/MapRenderer.h"

#include <algorithm>

#include "map/BorderLayer.h"
#include "map/GridLayer.h"
#include "map/LandLayer.h"
#include "map/MapStyle.h"

namespace corvale {

MapRenderer::MapRenderer(std::unique_ptr<Projection> projection)
    : m_projection(std::move(projection)) {}

void MapRenderer::SetProjection(std::unique_ptr<Projection> projection) {
    m_projection = std::move(projection);
    for (const DepthLayer& entry : m_layers)
        entry.layer->SetProjection(*m_projection);
}

MapLayer& MapRenderer::AddLayer(std::unique_ptr<MapLayer> layer, MapDepth depth) {
    layer->SetProjection(*m_projection);
    const auto above = std::upper_bound(
        m_layers.begin(), m_layers.end(), depth,
        [](MapDepth wanted, const DepthLayer& entry) { return wanted < entry.depth; });
    return *m_layers.insert(above, DepthLayer{depth, std::move(layer)})->layer;
}

void MapRenderer::RemoveLayer(const MapLayer& layer) {
    std::erase_if(m_layers,
                  [&layer](const DepthLayer& entry) { return entry.layer.get() == &layer; });
}

void MapRenderer::Render(QPainter& painter, const MapView& view) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), view.PictureSize()), map_style::kBackground);
    for (const DepthLayer& entry : m_layers) {
        painter.save();
        entry.layer->Paint(painter, view);
        painter.restore();
    }
    painter.restore();
}

MapView MapRenderer::WholeWorld(QSizeF pictureSize) const {
    return MapView(pictureSize, m_projection->WorldBounds());
}

void AddBaseLayers(MapRenderer& renderer, const OutlineData& outlines) {
    renderer.AddLayer(std::make_unique<LandLayer>(outlines), MapDepth::Land);
    renderer.AddLayer(std::make_unique<BorderLayer>(outlines), MapDepth::Borders);
    renderer.AddLayer(std::make_unique<GridLayer>(), MapDepth::Grid);
}

}  // namespace corvale
