#pragma once

#include "editing/AddressRange.h"

#include <QString>

#include <optional>

// The grid's selection as image addresses: the anchor where it began (a click, the cell current
// when Shift was first held) and the cursor that moves (the drag, Shift+click, Shift+keys). It
// covers both and every address between them, so it is never empty while the image is not.
// Its moves are worked out like GridNavigation's moves of the current cell.
class Selection {
public:
    enum class Move {
        Left,      // Shift+Left: one byte back
        Right,     // Shift+Right: one byte on
        RowUp,     // Shift+Up: one row up
        RowDown,   // Shift+Down: one row down
        PageUp,    // Shift+PageUp: a screenful of rows up
        PageDown,  // Shift+PageDown: a screenful down
        RowStart,  // Shift+Home: the first byte of the cursor's row
        RowEnd,    // Shift+End: the last byte of the cursor's row
        First,     // Ctrl+Shift+Home: address 0
        Last,      // Ctrl+Shift+End: the last byte
    };

    // The move a key of the grid stands for when it extends the selection; nothing for other
    // keys, and for keys without Shift.
    [[nodiscard]] static std::optional<Move> moveForKey(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+A.
    [[nodiscard]] static bool isSelectAllKey(int key, Qt::KeyboardModifiers modifiers);

    // One byte at `address` (a click, a move without Shift): anchor and cursor together.
    void collapseTo(qint64 address);
    // The cursor to `address`, the anchor staying (a drag, Shift+click).
    void extendTo(qint64 address);
    // Moves the cursor by `move` in an image of `size` bytes with `pageRows` rows on screen,
    // the anchor staying. Moves stop at the image's ends.
    void extend(Move move, qint64 size, int pageRows);
    // The whole image of `size` bytes, the cursor on its last byte.
    void selectAll(qint64 size);
    // Cuts anchor and cursor to an image of `size` bytes (another part, a smaller image).
    void clampTo(qint64 size);

    [[nodiscard]] qint64 anchor() const { return m_anchor; }
    [[nodiscard]] qint64 cursor() const { return m_cursor; }
    [[nodiscard]] AddressRange range() const { return AddressRange::between(m_anchor, m_cursor); }

private:
    qint64 m_anchor = 0;
    qint64 m_cursor = 0;
};
