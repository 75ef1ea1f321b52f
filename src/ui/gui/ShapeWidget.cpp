#include "ui/gui/ShapeWidget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(Kind kind, const QColor& border, const QColor& fill, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_border(border), m_fill(fill)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    constexpr qreal kPenWidth = 1.5;
    painter.setPen(QPen(m_border, kPenWidth));
    painter.setBrush(m_fill.isValid() ? QBrush(m_fill) : QBrush(Qt::NoBrush));
    // Keep the outline inside the widget.
    const QRectF area =
        QRectF(rect()).adjusted(kPenWidth / 2, kPenWidth / 2, -kPenWidth / 2, -kPenWidth / 2);
    switch (m_kind) {
        case Kind::Rectangle:
            painter.drawRect(area);
            break;
        case Kind::RoundedRectangle:
            painter.drawRoundedRect(area, 6.0, 6.0);
            break;
        case Kind::Ellipse:
            painter.drawEllipse(area);
            break;
    }
}
