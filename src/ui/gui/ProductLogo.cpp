#include "ui/gui/ProductLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace ProductLogo {

namespace {

// The drawing lives on a 64 x 64 grid.
constexpr qreal kGrid = 64.0;

const QColor kBodyTop(0x2B, 0x4C, 0x7E);
const QColor kBodyBottom(0x16, 0x2B, 0x4D);
const QColor kPin(0xC9, 0xD1, 0xDC);
const QColor kPinEdge(0x7A, 0x86, 0x96);
const QColor kMark(0xF5, 0xA6, 0x23);
const QColor kDot(0x9E, 0xC1, 0xF0);

void paintPins(QPainter& painter)
{
    painter.setPen(QPen(kPinEdge, 0.8));
    painter.setBrush(kPin);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 14.0 + i * 11.0;
        painter.drawRoundedRect(QRectF(4.0, y, 10.0, 6.0), 1.2, 1.2);
        painter.drawRoundedRect(QRectF(50.0, y, 10.0, 6.0), 1.2, 1.2);
    }
}

void paintBody(QPainter& painter)
{
    QLinearGradient shade(0.0, 8.0, 0.0, 58.0);
    shade.setColorAt(0.0, kBodyTop);
    shade.setColorAt(1.0, kBodyBottom);

    // The package with the orientation notch cut out of its top edge.
    QPainterPath body;
    body.addRoundedRect(QRectF(11.0, 6.0, 42.0, 52.0), 4.0, 4.0);
    QPainterPath notch;
    notch.addEllipse(QPointF(32.0, 6.0), 5.0, 5.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPath(body.subtracted(notch));

    painter.setBrush(kDot);
    painter.drawEllipse(QPointF(18.0, 13.0), 2.2, 2.2);
}

void paintMark(QPainter& painter)
{
    const QPolygonF v({QPointF(18.5, 19.0), QPointF(26.0, 19.0), QPointF(32.0, 40.0),
                       QPointF(38.0, 19.0), QPointF(45.5, 19.0), QPointF(35.5, 50.0),
                       QPointF(28.5, 50.0)});
    painter.setPen(QPen(kMark.darker(130), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kMark);
    painter.drawPolygon(v);
}

}  // namespace

void paint(QPainter& painter, const QRectF& target)
{
    const qreal side = qMin(target.width(), target.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.center().x() - side / 2.0, target.center().y() - side / 2.0);
    painter.scale(side / kGrid, side / kGrid);
    paintPins(painter);
    paintBody(painter);
    paintMark(painter);
    painter.restore();
}

QImage image(int size)
{
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    paint(painter, QRectF(0, 0, size, size));
    return result;
}

QIcon icon()
{
    QIcon result;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        result.addPixmap(QPixmap::fromImage(image(size)));
    }
    return result;
}

}  // namespace ProductLogo
