#pragma once

#include <QPainter>

#include "map/MapView.h"
#include "map/Projection.h"

namespace corvale {

// The order in which the renderer paints its layers, bottom first. An award adds its fills
// between land and borders, its pins above the grid and its legend on top.
enum class MapDepth { Land = 0, Fills = 10, Borders = 20, Grid = 30, Markers = 40, Legend = 50 };

// One layer of the map. The renderer tells each layer the projection before it paints and again
// whenever it changes; a layer projects its geometry onto the plane there, once, so that a
// repaint only scales and moves it.
class MapLayer {
  public:
    virtual ~MapLayer() = default;

    // `projection` stays alive until the next call.
    virtual void SetProjection(const Projection& projection) = 0;
    // Paints on `painter`, whose transform is the identity (pixels); `view` maps the plane to
    // those pixels.
    virtual void Paint(QPainter& painter, const MapView& view) const = 0;
};

}  // namespace corvale
