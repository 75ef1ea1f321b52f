#include "image/GridNavigation.h"

#include "image/GridAddress.h"

#include <algorithm>

std::optional<GridNavigation::Move> GridNavigation::moveForKey(int key,
                                                               Qt::KeyboardModifiers modifiers)
{
    // The keypad's keys arrive with KeypadModifier; they count like the main keys.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held == Qt::ControlModifier) {
        if (key == Qt::Key_Home) return Move::First;
        if (key == Qt::Key_End) return Move::Last;
        return std::nullopt;
    }
    if (held != Qt::NoModifier) return std::nullopt;
    switch (key) {
        case Qt::Key_Up:
            return Move::RowUp;
        case Qt::Key_Down:
            return Move::RowDown;
        case Qt::Key_PageUp:
            return Move::PageUp;
        case Qt::Key_PageDown:
            return Move::PageDown;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Move::Next;
        default:
            return std::nullopt;
    }
}

std::optional<qint64> GridNavigation::target(qint64 address, Move move, qint64 size, int pageRows)
{
    if (size <= 0) return std::nullopt;
    const qint64 last = size - 1;
    address = std::clamp<qint64>(address, 0, last);
    const qint64 row = GridAddress::kBytesPerRow;
    const qint64 page = row * std::max(1, pageRows);
    const qint64 column = address % row;
    const qint64 lastInColumn = std::min(last, (last / row) * row + column);
    switch (move) {
        case Move::RowUp:
            return address >= row ? address - row : address;
        case Move::RowDown:
            return address + row <= last ? address + row : address;
        case Move::PageUp:
            return address >= page ? address - page : column;
        case Move::PageDown:
            return address + page <= last ? address + page : lastInColumn;
        case Move::First:
            return 0;
        case Move::Last:
            return last;
        case Move::Next:
            return std::min(address + 1, last);
    }
    return address;
}

std::optional<qint64> GridNavigation::typedAddress(const QString& text, qint64 size)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) digits.remove(0, 2);
    // At most eight digits: anything longer cannot be an address of an image.
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    bool ok = false;
    const qint64 address = digits.toLongLong(&ok, 16);
    if (!ok || address < 0 || address >= size) return std::nullopt;
    return address;
}
