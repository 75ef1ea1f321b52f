#include "editing/Selection.h"

#include "image/GridAddress.h"
#include "image/GridNavigation.h"

#include <algorithm>

std::optional<Selection::Move> Selection::moveForKey(int key, Qt::KeyboardModifiers modifiers)
{
    // The keypad's keys arrive with KeypadModifier; they count like the main keys.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held == (Qt::ShiftModifier | Qt::ControlModifier)) {
        if (key == Qt::Key_Home) return Move::First;
        if (key == Qt::Key_End) return Move::Last;
        return std::nullopt;
    }
    if (held != Qt::ShiftModifier) return std::nullopt;
    switch (key) {
        case Qt::Key_Left:
            return Move::Left;
        case Qt::Key_Right:
            return Move::Right;
        case Qt::Key_Up:
            return Move::RowUp;
        case Qt::Key_Down:
            return Move::RowDown;
        case Qt::Key_PageUp:
            return Move::PageUp;
        case Qt::Key_PageDown:
            return Move::PageDown;
        case Qt::Key_Home:
            return Move::RowStart;
        case Qt::Key_End:
            return Move::RowEnd;
        default:
            return std::nullopt;
    }
}

bool Selection::isSelectAllKey(int key, Qt::KeyboardModifiers modifiers)
{
    return key == Qt::Key_A && (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

void Selection::collapseTo(qint64 address)
{
    m_anchor = address;
    m_cursor = address;
}

void Selection::extendTo(qint64 address) { m_cursor = address; }

void Selection::extend(Move move, qint64 size, int pageRows)
{
    if (size <= 0) return;
    clampTo(size);
    const qint64 last = size - 1;
    const qint64 rowStart = m_cursor - m_cursor % GridAddress::kBytesPerRow;
    const auto cellMove = [&](GridNavigation::Move gridMove) {
        return GridNavigation::target(m_cursor, gridMove, size, pageRows).value_or(m_cursor);
    };
    switch (move) {
        case Move::Left:
            m_cursor = std::max<qint64>(m_cursor - 1, 0);
            break;
        case Move::Right:
            m_cursor = std::min(m_cursor + 1, last);
            break;
        case Move::RowUp:
            m_cursor = cellMove(GridNavigation::Move::RowUp);
            break;
        case Move::RowDown:
            m_cursor = cellMove(GridNavigation::Move::RowDown);
            break;
        case Move::PageUp:
            m_cursor = cellMove(GridNavigation::Move::PageUp);
            break;
        case Move::PageDown:
            m_cursor = cellMove(GridNavigation::Move::PageDown);
            break;
        case Move::RowStart:
            m_cursor = rowStart;
            break;
        case Move::RowEnd:
            m_cursor = std::min(rowStart + GridAddress::kBytesPerRow - 1, last);
            break;
        case Move::First:
            m_cursor = 0;
            break;
        case Move::Last:
            m_cursor = last;
            break;
    }
}

void Selection::selectAll(qint64 size)
{
    m_anchor = 0;
    m_cursor = std::max<qint64>(size - 1, 0);
}

void Selection::clampTo(qint64 size)
{
    const qint64 last = std::max<qint64>(size - 1, 0);
    m_anchor = std::clamp<qint64>(m_anchor, 0, last);
    m_cursor = std::clamp<qint64>(m_cursor, 0, last);
}
