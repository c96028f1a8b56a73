#include "map/GridLayer.h"

#include <QFont>
#include <QLineF>

#include "map/Maidenhead.h"
#include "map/MapStyle.h"
#include "map/PlanePath.h"

namespace corvale {

namespace {

constexpr int kSquareColumns = kFieldColumns * 10;
constexpr int kSquareRows = kFieldRows * 10;
constexpr int kSquaresPerFieldSide = 10;
// Pixels of its cell's smaller side that a name needs.
constexpr double kFieldNameRoom = 24;
constexpr double kSquareNameRoom = 30;

// The meridians between the fields and the parallels between them, without the map's edges.
QPainterPath FieldLines(const Projection& projection) {
    QPainterPath path;
    for (int column = 1; column < kFieldColumns; ++column) {
        const double lon = -180 + column * kFieldWidth;
        AddGeoLine(path, projection, {lon, -90}, {lon, 90});
    }
    for (int row = 1; row < kFieldRows; ++row) {
        const double lat = -90 + row * kFieldHeight;
        AddGeoLine(path, projection, {-180, lat}, {180, lat});
    }
    return path;
}

// The lines between the squares inside each field, one shape per line within one field, so
// that a zoomed-in repaint draws only the lines in sight.
std::vector<PlaneShape> SquareLines(const Projection& projection) {
    std::vector<PlaneShape> lines;
    const auto addLine = [&projection, &lines](GeoPoint from, GeoPoint to) {
        QPainterPath path;
        AddGeoLine(path, projection, from, to);
        lines.emplace_back(std::move(path));
    };
    for (int row = 0; row < kFieldRows; ++row) {
        for (int column = 0; column < kFieldColumns; ++column) {
            const double west = -180 + column * kFieldWidth;
            const double south = -90 + row * kFieldHeight;
            for (int line = 1; line < kSquaresPerFieldSide; ++line) {
                const double lon = west + line * kSquareWidth;
                const double lat = south + line * kSquareHeight;
                addLine({lon, south}, {lon, south + kFieldHeight});
                addLine({west, lat}, {west + kFieldWidth, lat});
            }
        }
    }
    return lines;
}

}  // namespace

std::vector<GridLayer::Label> GridLayer::CellLabels(const Projection& projection, int columns,
                                                    int rows, double width, double height) {
    std::vector<Label> labels;
    labels.reserve(static_cast<std::size_t>(columns * rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const GeoRect cell{-180 + column * width, -90 + row * height, width, height};
            const GeoPoint centre = cell.Centre();
            const auto across = [&projection](GeoPoint a, GeoPoint b) {
                return QLineF(projection.ToPlane(a), projection.ToPlane(b)).length();
            };
            const double wide = across({cell.west, centre.lat}, {cell.west + width, centre.lat});
            const double high = across({centre.lon, cell.south}, {centre.lon, cell.south + height});
            labels.push_back({projection.ToPlane(centre), std::min(wide, high)});
        }
    }
    return labels;
}

void GridLayer::SetProjection(const Projection& projection) {
    m_projection = &projection;
    m_fieldLines = FieldLines(projection);
    m_fieldLabels = CellLabels(projection, kFieldColumns, kFieldRows, kFieldWidth, kFieldHeight);
    m_squareLines.clear();
    m_squareLabels.clear();
}

void GridLayer::ProjectSquares() const {
    if (!m_squareLines.empty())
        return;
    m_squareLines = SquareLines(*m_projection);
    m_squareLabels =
        CellLabels(*m_projection, kSquareColumns, kSquareRows, kSquareWidth, kSquareHeight);
}

void GridLayer::Paint(QPainter& painter, const MapView& view) const {
    const double pixelsPerDegree = view.Scale() * m_projection->PlaneUnitsPerDegree();
    const bool squares = pixelsPerDegree >= kSquaresFrom;
    painter.setTransform(view.PlaneToPixel());
    painter.setBrush(Qt::NoBrush);
    // Smoothing the grid's many long lines would cost more than the rest of the map.
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (squares) {
        ProjectSquares();
        painter.setPen(map_style::HairlinePen(map_style::kSquareGrid, 1));
        DrawVisible(painter, m_squareLines, view);
    }
    painter.setPen(map_style::HairlinePen(map_style::kFieldGrid, 1));
    painter.drawPath(m_fieldLines);

    painter.resetTransform();
    painter.setPen(map_style::kGridLabel);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    PaintLabels(painter, view, m_fieldLabels, kFieldColumns, &FieldName, kFieldNameRoom);
    if (squares && pixelsPerDegree >= kSquareNamesFrom) {
        font.setPixelSize(10);
        painter.setFont(font);
        PaintLabels(painter, view, m_squareLabels, kSquareColumns, &SquareName, kSquareNameRoom);
    }
}

void GridLayer::PaintLabels(QPainter& painter, const MapView& view,
                            const std::vector<Label>& labels, int columns, CellName name,
                            double room) {
    const double scale = view.Scale();
    const QRectF picture = QRectF(QPointF(0, 0), view.PictureSize()).adjusted(-20, -20, 20, 20);
    const QSizeF box(room * 2, room);
    for (std::size_t index = 0; index < labels.size(); ++index) {
        const Label& label = labels[index];
        if (label.planeExtent * scale < room)
            continue;
        const QPointF pixel = view.ToPixel(label.plane);
        if (!picture.contains(pixel))
            continue;
        const int column = static_cast<int>(index) % columns;
        const int row = static_cast<int>(index) / columns;
        painter.drawText(QRectF(pixel - QPointF(room, room / 2), box), Qt::AlignCenter,
                         QString::fromStdString(name(column, row)));
    }
}

}  // namespace corvale
