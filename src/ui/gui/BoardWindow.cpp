#include "ui/gui/BoardWindow.h"

#include "base/gui/NamedWidgets.h"
#include "base/gui/UiFonts.h"
#include "ui/gui/ShapeWidget.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

// Geometry of the drawing, in pixels.
constexpr int kSocketLeft = 36;
constexpr int kSocketTop = 48;
constexpr int kPinRows = 9;  // an 18-pin socket: two rows of nine
constexpr int kPinPitch = 24;
constexpr int kPinWidth = 14;
constexpr int kPinHeight = 10;
constexpr int kSocketWidth = 108;
constexpr int kSocketHeight = kPinRows * kPinPitch + 20;
constexpr int kPinInset = 12;
constexpr int kDevicePins = 4;  // an 8-pin part fills the top four rows
constexpr int kJumperLeft = kSocketLeft + kSocketWidth + 44;

const QColor kOutline(0x3A, 0x46, 0x57);
const QColor kSocket(0xE4, 0xE9, 0xF0);
const QColor kHole(0x4A, 0x55, 0x66);
const QColor kLead(0xB8, 0xC2, 0xCE);
const QColor kDevice(0x2B, 0x33, 0x40);
const QColor kPad(0xD9, 0xA4, 0x41);

ShapeWidget* shape(QWidget* parent, const QString& name, ShapeWidget::Kind kind,
                   const QColor& border, const QColor& fill, const QRect& geometry)
{
    auto* result = named(new ShapeWidget(kind, border, fill, parent), name);
    result->setGeometry(geometry);
    return result;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QPoint& at)
{
    auto* result = named(new QLabel(text, parent), name);
    result->adjustSize();
    result->move(at);
    return result;
}

}  // namespace

BoardWindow::BoardWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmBoard"));
    setWindowTitle(tr("インデックス情報"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, QColor(0x1E, 0x24, 0x2E));
    setPalette(colours);

    buildSocket();
    buildJumper();
    setFixedSize(kJumperLeft + 130, kSocketTop + kSocketHeight + 24);
}

// The socket with its two rows of holes, and an 8-pin part seated at the top: pin 1 upper left.
void BoardWindow::buildSocket()
{
    auto* note =
        label(this, QStringLiteral("Label2"), tr("上側が１ｐｉｎ"), QPoint(kSocketLeft, 16));
    QFont noteFont = note->font();
    noteFont.setPointSize(11);
    noteFont.setBold(true);
    note->setFont(noteFont);
    note->adjustSize();

    shape(this, QStringLiteral("Shape_18P"), ShapeWidget::Kind::RoundedRectangle, kOutline, kSocket,
          QRect(kSocketLeft, kSocketTop, kSocketWidth, kSocketHeight));

    const int leftColumn = kSocketLeft + kPinInset;
    const int rightColumn = kSocketLeft + kSocketWidth - kPinInset - kPinWidth;
    for (int row = 0; row < kPinRows; ++row) {
        const int y = kSocketTop + 10 + row * kPinPitch + (kPinPitch - kPinHeight) / 2;
        const bool seated = row < kDevicePins;
        const QColor fill = seated ? kLead : kHole;
        // Pins are numbered down the left row and up the right row, as on the part.
        const int leftPin = row + 1;
        const int rightPin = 2 * kPinRows - row;
        shape(this, QStringLiteral("Shape_pin(%1)").arg(leftPin - 1), ShapeWidget::Kind::Rectangle,
              kOutline, fill, QRect(leftColumn, y, kPinWidth, kPinHeight));
        shape(this, QStringLiteral("Shape_pin(%1)").arg(rightPin - 1), ShapeWidget::Kind::Rectangle,
              kOutline, fill, QRect(rightColumn, y, kPinWidth, kPinHeight));
    }

    const int deviceLeft = leftColumn + kPinWidth / 2 + 4;
    const int deviceWidth = rightColumn + kPinWidth / 2 - 4 - deviceLeft;
    const int deviceTop = kSocketTop + 12;
    const int deviceHeight = kDevicePins * kPinPitch - 4;
    shape(this, QStringLiteral("Shape_IC"), ShapeWidget::Kind::Rectangle, kDevice, kDevice,
          QRect(deviceLeft, deviceTop, deviceWidth, deviceHeight));
    constexpr int kNotch = 16;
    shape(this, QStringLiteral("Shape_notch"), ShapeWidget::Kind::Ellipse, kDevice, kSocket,
          QRect(deviceLeft + (deviceWidth - kNotch) / 2, deviceTop - kNotch / 2, kNotch, kNotch));
    shape(this, QStringLiteral("Shape_pin1"), ShapeWidget::Kind::Ellipse, kLead, kLead,
          QRect(deviceLeft + 6, deviceTop + 10, 7, 7));

    auto* pinOne = label(this, QStringLiteral("Label_pin1"), QStringLiteral("1"),
                         QPoint(kSocketLeft - 14, kSocketTop + 10 + (kPinPitch - 16) / 2));
    pinOne->setFont(UiFonts::fixedPitch(10));
    pinOne->adjustSize();
}

// JP2: three pads whose numbers stand under them in one label, "1  2  3".
void BoardWindow::buildJumper()
{
    const QFont numbersFont = UiFonts::fixedPitch(11);
    const QFontMetrics metrics(numbersFont);
    const int character = metrics.horizontalAdvance(QLatin1Char('0'));
    const int padPitch = 3 * character;  // "1", two blanks, "2": three characters apart
    const int padSide = qMax(12, padPitch - 8);

    auto* title = label(this, QStringLiteral("Label_JP2"), QStringLiteral("JP2"),
                        QPoint(kJumperLeft, kSocketTop + 8));
    QFont titleFont = title->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->adjustSize();

    const int padTop = kSocketTop + 40;
    for (int pad = 0; pad < 3; ++pad) {
        const int centre = kJumperLeft + character / 2 + pad * padPitch;
        shape(this, QStringLiteral("Shape_JP2(%1)").arg(pad), ShapeWidget::Kind::Rectangle,
              kOutline, kPad, QRect(centre - padSide / 2, padTop, padSide, padSide));
    }

    auto* numbers = label(this, QStringLiteral("Label_JP2pin"), QStringLiteral("1  2  3"),
                          QPoint(kJumperLeft, padTop + padSide + 4));
    numbers->setFont(numbersFont);
    numbers->adjustSize();
    numbers->move(kJumperLeft, padTop + padSide + 4);

    label(this, QStringLiteral("Label_sel"), tr("どちらでも可"),
          QPoint(kJumperLeft, padTop + padSide + 12 + metrics.height()));
}
