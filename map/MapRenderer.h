#pragma once

#include <QPainter>
#include <memory>
#include <vector>

#include "map/MapLayer.h"
#include "map/MapView.h"
#include "map/OutlineData.h"
#include "map/Projection.h"

namespace corvale {

// Draws the map with its layers on any paint device: a window, a QImage, an SVG or a PDF.
class MapRenderer {
  public:
    explicit MapRenderer(std::unique_ptr<Projection> projection);

    const Projection& CurrentProjection() const { return *m_projection; }
    // Replaces the projection and lets every layer project its geometry again. A view made
    // for the old projection's world bounds must be made anew.
    void SetProjection(std::unique_ptr<Projection> projection);

    // Adds a layer at its depth, above the layers already at that depth, and hands it the
    // projection.
    MapLayer& AddLayer(std::unique_ptr<MapLayer> layer, MapDepth depth);
    // Removes a layer that AddLayer returned (an award's, when another run replaces it).
    void RemoveLayer(const MapLayer& layer);

    // Paints the background and every layer; the painter's device shows `view`'s picture.
    void Render(QPainter& painter, const MapView& view) const;

    // A view of the whole world at `pictureSize` for the current projection.
    MapView WholeWorld(QSizeF pictureSize) const;

  private:
    struct DepthLayer {
        MapDepth depth;
        std::unique_ptr<MapLayer> layer;
    };

    std::unique_ptr<Projection> m_projection;
    std::vector<DepthLayer> m_layers;  // bottom first
};

// Adds the layers that every map has: sea and land, country and US state borders, and the
// Maidenhead grid. `outlines` must outlive the renderer.
void AddBaseLayers(MapRenderer& renderer, const OutlineData& outlines);

}  // namespace corvale
