#include "map/MapView.h"

#include <algorithm>

namespace corvale {

MapView::MapView(QSizeF pictureSize, QRectF worldBounds)
    : m_pictureSize(pictureSize), m_worldBounds(worldBounds), m_centre(worldBounds.center()) {}

double MapView::Scale() const {
    const double fit = std::min(m_pictureSize.width() / m_worldBounds.width(),
                                m_pictureSize.height() / m_worldBounds.height());
    return fit * m_zoom;
}

QTransform MapView::PlaneToPixel() const {
    const double scale = Scale();
    return QTransform(scale, 0, 0, scale, m_pictureSize.width() / 2 - scale * m_centre.x(),
                      m_pictureSize.height() / 2 - scale * m_centre.y());
}

QPointF MapView::ToPixel(QPointF plane) const {
    return PlaneToPixel().map(plane);
}

QPointF MapView::ToPlane(QPointF pixel) const {
    const double scale = Scale();
    return {m_centre.x() + (pixel.x() - m_pictureSize.width() / 2) / scale,
            m_centre.y() + (pixel.y() - m_pictureSize.height() / 2) / scale};
}

QRectF MapView::VisiblePlane() const {
    return QRectF(ToPlane(QPointF(0, 0)),
                  ToPlane(QPointF(m_pictureSize.width(), m_pictureSize.height())));
}

void MapView::ZoomAround(QPointF pixel, double factor) {
    const QPointF held = ToPlane(pixel);
    m_zoom = std::clamp(m_zoom * factor, 1.0, kMaxZoom);
    const double scale = Scale();
    m_centre =
        held - (pixel - QPointF(m_pictureSize.width() / 2, m_pictureSize.height() / 2)) / scale;
    KeepCentreOnWorld();
}

void MapView::PanBy(QPointF pixels) {
    m_centre -= pixels / Scale();
    KeepCentreOnWorld();
}

void MapView::KeepCentreOnWorld() {
    m_centre.setX(std::clamp(m_centre.x(), m_worldBounds.left(), m_worldBounds.right()));
    m_centre.setY(std::clamp(m_centre.y(), m_worldBounds.top(), m_worldBounds.bottom()));
}

void MapView::Reset() {
    m_zoom = 1;
    m_centre = m_worldBounds.center();
}

}  // namespace corvale
