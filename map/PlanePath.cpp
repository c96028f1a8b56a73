#include "map/PlanePath.h"

#include <algorithm>
#include <cmath>

namespace corvale {

namespace {

// Where the projection bends grid lines, a line gets one point per degree.
constexpr double kDegreesPerStep = 1;

// Appends `points` to `path`, starting a new subpath wherever a step jumps across the map.
template <typename Points>
void AddPlanePoints(QPainterPath& path, const Projection& projection, const Points& points,
                    bool closed) {
    const double longestStep = projection.LongestJoinedStep();
    bool broken = false;
    QPointF previous;
    bool started = false;
    for (const GeoPoint& point : points) {
        const QPointF plane = projection.ToPlane(point);
        if (!started) {
            path.moveTo(plane);
            started = true;
        } else if (QLineF(previous, plane).length() > longestStep) {
            path.moveTo(plane);
            broken = true;
        } else {
            path.lineTo(plane);
        }
        previous = plane;
    }
    if (closed && started && !broken)
        path.closeSubpath();
}

// The points of the line from `from` towards `to`, evenly spaced in longitude and latitude,
// `to` itself left out.
void AppendLinePoints(std::vector<GeoPoint>& points, const Projection& projection, GeoPoint from,
                      GeoPoint to) {
    const double span = std::max(std::abs(to.lon - from.lon), std::abs(to.lat - from.lat));
    const int steps = projection.KeepsGridLinesStraight()
                          ? 1
                          : std::max(1, static_cast<int>(std::ceil(span / kDegreesPerStep)));
    for (int step = 0; step < steps; ++step) {
        const double t = static_cast<double>(step) / steps;
        points.push_back({from.lon + (to.lon - from.lon) * t, from.lat + (to.lat - from.lat) * t});
    }
}

}  // namespace

QPainterPath RingsToPlane(const Projection& projection, const std::vector<OutlineRing>& rings) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const OutlineRing& ring : rings)
        AddPlanePoints(path, projection, ring, true);
    return path;
}

void AddGeoLine(QPainterPath& path, const Projection& projection, GeoPoint from, GeoPoint to) {
    std::vector<GeoPoint> points;
    AppendLinePoints(points, projection, from, to);
    points.push_back(to);
    AddPlanePoints(path, projection, points, false);
}

QPainterPath GeoRectToPlane(const Projection& projection, const GeoRect& rect) {
    const double east = rect.west + rect.width;
    const double north = rect.south + rect.height;
    // Counter-clockwise, as the outer rings of the outlines run.
    const GeoPoint corners[] = {
        {rect.west, rect.south}, {east, rect.south}, {east, north}, {rect.west, north}};
    std::vector<GeoPoint> points;
    for (int side = 0; side < 4; ++side)
        AppendLinePoints(points, projection, corners[side], corners[(side + 1) % 4]);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    AddPlanePoints(path, projection, points, true);
    return path;
}

void DrawVisible(QPainter& painter, const std::vector<PlaneShape>& shapes, const MapView& view) {
    // A few pixels more, for the width of the lines.
    const double margin = 4 / view.Scale();
    const QRectF visible = view.VisiblePlane().adjusted(-margin, -margin, margin, margin);
    for (const PlaneShape& shape : shapes) {
        // Not QRectF::intersects, which never holds for the zero-width bounds of a meridian.
        const QRectF& bounds = shape.bounds;
        if (bounds.left() <= visible.right() && bounds.right() >= visible.left() &&
            bounds.top() <= visible.bottom() && bounds.bottom() >= visible.top())
            painter.drawPath(shape.path);
    }
}

}  // namespace corvale
