#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

namespace corvale {

// Where the plane of a projection lies in a window or picture: at zoom 1 the whole world fits
// the picture, centred; zooming keeps the plane point under a given pixel where it is, panning
// moves the plane with the pointer.
class MapView {
  public:
    MapView(QSizeF pictureSize, QRectF worldBounds);

    QSizeF PictureSize() const { return m_pictureSize; }
    double Zoom() const { return m_zoom; }
    // Pixels per plane unit.
    double Scale() const;

    QTransform PlaneToPixel() const;
    QPointF ToPixel(QPointF plane) const;
    QPointF ToPlane(QPointF pixel) const;
    // The part of the plane that the picture shows.
    QRectF VisiblePlane() const;

    // Multiplies the zoom by `factor` (kept between 1 and kMaxZoom), holding the plane point
    // under `pixel` in place.
    void ZoomAround(QPointF pixel, double factor);
    // Moves the map by `pixels`, as a dragging pointer does.
    void PanBy(QPointF pixels);
    void Resize(QSizeF pictureSize) { m_pictureSize = pictureSize; }
    // The whole world again.
    void Reset();

    static constexpr double kMaxZoom = 64;

  private:
    // Keeps the picture's centre on the world, so that the map cannot be lost off screen.
    void KeepCentreOnWorld();

    QSizeF m_pictureSize;
    QRectF m_worldBounds;
    double m_zoom = 1;
    QPointF m_centre;  // the plane point at the picture's centre
};

}  // namespace corvale
