#include "res/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // Night sky disc.
    QRadialGradient cielo(32, 26, 34);
    cielo.setColorAt(0, QColor(40, 60, 120));
    cielo.setColorAt(1, QColor(8, 12, 40));
    p.setPen(QPen(QColor(200, 200, 220), 2));
    p.setBrush(cielo);
    p.drawEllipse(QRectF(2, 2, 60, 60));

    // A few stars around the pole.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 245, 200));
    for (const QPointF& s : {QPointF(14, 16), QPointF(24, 10), QPointF(46, 14), QPointF(52, 26),
                             QPointF(38, 22), QPointF(12, 30)}) {
        p.drawEllipse(s, 1.6, 1.6);
    }

    // The tube on its mount, pointing up to the left.
    p.save();
    p.translate(34, 38);
    p.rotate(-35);
    p.setBrush(QColor(230, 230, 235));
    p.drawRoundedRect(QRectF(-18, -5, 34, 10), 2, 2);
    p.setBrush(QColor(180, 40, 40));
    p.drawRect(QRectF(-20, -6, 4, 12));
    p.restore();
    p.setPen(QPen(QColor(230, 230, 235), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(34, 40), QPointF(26, 56));
    p.drawLine(QPointF(34, 40), QPointF(42, 56));
    return pixmap;
}

}  // namespace

QIcon LoadAppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(Draw(size));
    return icon;
}
