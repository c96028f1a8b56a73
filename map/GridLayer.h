#pragma once

#include <QPainterPath>
#include <QPointF>
#include <string>
#include <vector>

#include "map/MapLayer.h"
#include "map/PlanePath.h"

namespace corvale {

// The Maidenhead grid: the 324 fields with their names and, once zoomed in far enough, the
// squares (with their names when they are large enough to hold them).
class GridLayer : public MapLayer {
  public:
    void SetProjection(const Projection& projection) override;
    void Paint(QPainter& painter, const MapView& view) const override;

    // Pixels per degree of latitude from which the squares show, and their names.
    static constexpr double kSquaresFrom = 16;
    static constexpr double kSquareNamesFrom = 40;

  private:
    struct Label {
        QPointF plane;       // where the name is centred
        double planeExtent;  // the smaller of the cell's width and height there
    };

    using CellName = std::string (*)(int column, int row);
    static std::vector<Label> CellLabels(const Projection& projection, int columns, int rows,
                                         double width, double height);
    static void PaintLabels(QPainter& painter, const MapView& view,
                            const std::vector<Label>& labels, int columns, CellName name,
                            double room);
    void ProjectSquares() const;

    const Projection* m_projection = nullptr;
    QPainterPath m_fieldLines;
    std::vector<Label> m_fieldLabels;  // row by row from the south-west
    // The squares are projected only once they are first shown.
    mutable std::vector<PlaneShape> m_squareLines;
    mutable std::vector<Label> m_squareLabels;
};

}  // namespace corvale
