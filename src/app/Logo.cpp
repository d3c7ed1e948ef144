// The program's logo, painted in code: a radio mast sending waves, with the unit's name below.
#include "app/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace qm::app
{

QPixmap quellmarkLogo(int size, qreal devicePixelRatio)
{
    const int pixels = static_cast<int>(std::lround(size * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Everything is drawn on a 100 x 100 grid and scaled to the size asked for.
    painter.scale(size / 100.0, size / 100.0);

    QLinearGradient background(0, 0, 0, 100);
    background.setColorAt(0, QColor(0x2f, 0x6d, 0xb5));
    background.setColorAt(1, QColor(0x16, 0x33, 0x5e));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);

    const QPointF top(50, 26);
    QPen waves(QColor(0xff, 0xc3, 0x4d), 4.5, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(waves);
    painter.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 3; ++ring) {
        const qreal radius = 9.0 * ring;
        const QRectF arc(top.x() - radius, top.y() - radius, 2 * radius, 2 * radius);
        painter.drawArc(arc, -40 * 16, 80 * 16);
        painter.drawArc(arc, 140 * 16, 80 * 16);
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath mast;
    mast.moveTo(top.x(), top.y());
    mast.lineTo(top.x() + 9, 66);
    mast.lineTo(top.x() - 9, 66);
    mast.closeSubpath();
    painter.drawPath(mast);
    painter.drawEllipse(top, 5, 5);

    QFont font("DejaVu Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 68, 100, 26), Qt::AlignCenter, QStringLiteral("VQ-3"));
    return pixmap;
}

} // namespace qm::app
