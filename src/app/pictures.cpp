#include "pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quvex::app {

namespace {

constexpr int kSide = 32;

QPixmap blank_picture(int side = kSide)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(side, side) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

qreal rotation_of(ArrowDirection direction)
{
    switch (direction) {
    case ArrowDirection::Up:
        return 0;
    case ArrowDirection::Right:
        return 90;
    case ArrowDirection::Down:
        return 180;
    case ArrowDirection::Left:
        return 270;
    }
    return 0;
}

} // namespace

QIcon arrow_icon(ArrowDirection direction)
{
    QPixmap picture = blank_picture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kSide / 2.0, kSide / 2.0);
    painter.rotate(rotation_of(direction));

    // Drawn pointing up around the centre; the rotation turns it.
    QPainterPath arrow;
    arrow.moveTo(0, -13);
    arrow.lineTo(12, 1);
    arrow.lineTo(4, 1);
    arrow.lineTo(4, 13);
    arrow.lineTo(-4, 13);
    arrow.lineTo(-4, 1);
    arrow.lineTo(-12, 1);
    arrow.closeSubpath();
    painter.fillPath(arrow, Qt::black);
    painter.end();

    return QIcon(picture);
}

void paint_window_icon(QPainter &painter, qreal side)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / kSide, side / kSide);

    // A monitor with a picture on it: what the unit drives.
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRoundedRect(QRectF(2, 3, 28, 21), 3, 3);
    painter.setBrush(QColor(0, 64, 160));
    painter.drawRect(QRectF(5, 6, 22, 15));
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(QRectF(12, 24, 8, 3));
    painter.drawRect(QRectF(7, 27, 18, 3));

    painter.setPen(QPen(Qt::white, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(15, 13), 4.5, 4.5);
    painter.drawLine(QPointF(17.5, 15.5), QPointF(21, 19));
    painter.restore();
}

QIcon window_icon()
{
    // Several sizes, so that a task bar or switcher that wants a big one gets it sharp.
    QIcon icon;
    for (const int side : {16, 32, 64, 256}) {
        QPixmap picture = blank_picture(side);
        QPainter painter(&picture);
        paint_window_icon(painter, side);
        painter.end();
        icon.addPixmap(picture);
    }
    return icon;
}

} // namespace quvex::app
