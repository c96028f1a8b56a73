#include "map/CMapWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "map/AzimuthalProjection.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"

namespace corvale {

namespace {

// A drag starts once the pointer has moved this many pixels with the button held.
constexpr double kDragThreshold = 4;
// One notch of the wheel (120 eighths of a degree) zooms by this factor.
constexpr double kZoomPerNotch = 1.25;

}  // namespace

CMapWidget::CMapWidget(QWidget* parent)
    : QWidget(parent),
      m_renderer(std::make_unique<LatLonProjection>()),
      m_view(m_renderer.WholeWorld(QSizeF(size()))) {
    AddBaseLayers(m_renderer, EmbeddedOutlines());
    setMouseTracking(true);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMapWidget::SetProjection(std::optional<GeoPoint> home) {
    if (home)
        m_renderer.SetProjection(std::make_unique<AzimuthalProjection>(*home));
    else
        m_renderer.SetProjection(std::make_unique<LatLonProjection>());
    m_view = m_renderer.WholeWorld(QSizeF(size()));
    update();
}

void CMapWidget::SetAward(const ExportedAward* award) {
    m_awardLayers.RemoveFrom(m_renderer);
    if (award != nullptr) {
        m_awardLayers = AddAwardLayers(m_renderer, *award, EmbeddedOutlines());
        m_awardLayers.pins->SetShowNeeded(m_showNeeded);
    }
    update();
}

void CMapWidget::SetShowNeeded(bool show) {
    m_showNeeded = show;
    if (m_awardLayers.pins != nullptr)
        m_awardLayers.pins->SetShowNeeded(show);
    update();
}

const AwardEntity* CMapWidget::EntityAt(QPointF pixel) const {
    return m_awardLayers.EntityAt(m_view, pixel);
}

QString CMapWidget::DescribeAt(QPointF pixel) const {
    const AwardEntity* entity = EntityAt(pixel);
    if (entity == nullptr)
        return {};
    QString text = QString::fromStdString(entity->key);
    if (!entity->name.empty())
        text += ' ' +
                QString::fromUtf8(entity->name.data(), static_cast<qsizetype>(entity->name.size()));
    text += QStringLiteral("\n%1, %2 %3")
                .arg(StatusTitle(entity->status))
                .arg(entity->contacts)
                .arg(entity->contacts == 1 ? tr("contact") : tr("contacts"));
    const auto* azimuthal =
        dynamic_cast<const AzimuthalProjection*>(&m_renderer.CurrentProjection());
    if (azimuthal != nullptr && entity->position) {
        const GeoPoint point =
            GeoPointFromPinUnits(entity->position->longitude, entity->position->latitude);
        text += QStringLiteral("\n%1 km, bearing %2°")
                    .arg(std::lround(azimuthal->DistanceKmFromHome(point)))
                    .arg(std::lround(azimuthal->BearingFromHome(point)) % 360);
    }
    return text;
}

void CMapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_renderer.Render(painter, m_view);
}

void CMapWidget::resizeEvent(QResizeEvent*) {
    m_view.Resize(QSizeF(size()));
}

void CMapWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    m_view.ZoomAround(event->position(), std::pow(kZoomPerNotch, notches));
    update();
    event->accept();
}

void CMapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragFrom = event->position();
    m_dragged = false;
}

void CMapWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom && (event->buttons() & Qt::LeftButton)) {
        const QPointF step = event->position() - *m_dragFrom;
        if (!m_dragged && step.manhattanLength() < kDragThreshold)
            return;
        m_dragged = true;
        setCursor(Qt::ClosedHandCursor);
        m_view.PanBy(step);
        m_dragFrom = event->position();
        update();
        return;
    }
    const QString text = DescribeAt(event->position());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    emit Hovered(text);
}

void CMapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragFrom)
        return;
    const bool clicked = !m_dragged;
    m_dragFrom.reset();
    m_dragged = false;
    unsetCursor();
    if (!clicked)
        return;
    if (const AwardEntity* entity = EntityAt(event->position()))
        emit EntityClicked(*entity);
}

void CMapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_view.Reset();
    update();
}

}  // namespace corvale
