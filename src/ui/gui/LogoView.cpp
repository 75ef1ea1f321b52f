#include "ui/gui/LogoView.h"

#include "ui/gui/ProductLogo.h"

#include <QPainter>

LogoView::LogoView(int side, QWidget* parent) : QWidget(parent) { setFixedSize(side, side); }

void LogoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ProductLogo::paint(painter, QRectF(rect()));
}
