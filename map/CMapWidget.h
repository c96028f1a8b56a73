#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>

#include "export/AwardExport.h"
#include "map/AwardLayers.h"
#include "map/MapRenderer.h"
#include "map/MapView.h"

namespace corvale {

// The map on screen: the renderer's picture of the award shown, zoomed with the wheel around
// the pointer, dragged with the mouse, back to the whole world on a double click. Hovering an
// entity tells what it is; clicking it asks for its contacts.
class CMapWidget : public QWidget {
    Q_OBJECT
  public:
    explicit CMapWidget(QWidget* parent = nullptr);

    const MapRenderer& Renderer() const { return m_renderer; }
    const MapView& View() const { return m_view; }

    // The whole world in the plain latitude/longitude view, or azimuthal around `home`.
    void SetProjection(std::optional<GeoPoint> home);
    // The award to show; nothing shows the base map alone.
    void SetAward(const ExportedAward* award);
    void SetShowNeeded(bool show);

    // What the map tells of the entity under `pixel`: key, name, status, contacts and, on the
    // azimuthal map, distance and bearing from home. Empty where there is none.
    QString DescribeAt(QPointF pixel) const;
    const AwardEntity* EntityAt(QPointF pixel) const;

  signals:
    // The text of the entity under the pointer (empty when it left every entity).
    void Hovered(const QString& text);
    void EntityClicked(const corvale::AwardEntity& entity);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    MapRenderer m_renderer;
    MapView m_view;
    AwardLayers m_awardLayers;
    bool m_showNeeded = true;
    std::optional<QPointF> m_dragFrom;  // where the left button went down, while it is held
    bool m_dragged = false;             // the pointer moved far enough to be a drag
};

}  // namespace corvale
