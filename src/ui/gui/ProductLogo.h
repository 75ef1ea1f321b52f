#pragma once

#include <QIcon>
#include <QImage>
#include <QRectF>

class QPainter;

// The program's logo: an eight-pin EEPROM package carrying a "V". Drawn from geometry only (no
// font), so it looks the same on every machine and at every size; the windows, the program icon
// and the installed desktop icons all come from this one drawing.
namespace ProductLogo {

// Draws the logo into `target`, keeping it square and centred.
void paint(QPainter& painter, const QRectF& target);

// The logo on a transparent square of `size` pixels.
[[nodiscard]] QImage image(int size);

// The program icon, rendered at the sizes desktops ask for.
[[nodiscard]] QIcon icon();

}  // namespace ProductLogo
