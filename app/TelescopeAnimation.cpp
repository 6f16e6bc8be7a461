#include "app/TelescopeAnimation.h"

#include <QPainter>
#include <QTimerEvent>
#include <array>

namespace {

// Stars as (distance from the pole, angle in degrees, size), fixed.
constexpr std::array<std::array<double, 3>, 9> kEstrellas{{{0.12, 20, 1.6},
                                                           {0.30, 80, 1.2},
                                                           {0.42, 150, 1.8},
                                                           {0.55, 210, 1.1},
                                                           {0.36, 260, 1.4},
                                                           {0.62, 320, 1.0},
                                                           {0.48, 10, 1.2},
                                                           {0.70, 120, 1.5},
                                                           {0.25, 300, 1.0}}};

}  // namespace

TelescopeAnimation::TelescopeAnimation(QWidget* parent) : QWidget(parent) {}

void TelescopeAnimation::showEvent(QShowEvent* event) {
    m_Timer.start(80, this);
    QWidget::showEvent(event);
}

void TelescopeAnimation::hideEvent(QHideEvent* event) {
    m_Timer.stop();
    QWidget::hideEvent(event);
}

void TelescopeAnimation::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_Timer.timerId()) return QWidget::timerEvent(event);
    m_nPaso = (m_nPaso + 1) % 360;
    update();
}

void TelescopeAnimation::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    p.fillRect(r, QColor(10, 14, 44));

    const QPointF polo(r.width() * 0.7, r.height() * 0.25);
    const double radio = r.width();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 245, 210));
    for (const auto& [distancia, angulo, tamano] : kEstrellas) {
        p.save();
        p.translate(polo);
        p.rotate(angulo + m_nPaso);
        p.drawEllipse(QPointF(distancia * radio, 0), tamano, tamano);
        p.restore();
    }

    // The telescope keeps pointing at the pole while the sky turns.
    const QPointF base(r.width() * 0.35, r.height() * 0.85);
    p.setPen(QPen(QColor(220, 220, 228), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, base + QPointF(-6, 6));
    p.drawLine(base, base + QPointF(6, 6));
    const QPointF direccion = polo - base;
    p.setPen(QPen(QColor(235, 235, 240), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(base, base + direccion * 0.45);
}
