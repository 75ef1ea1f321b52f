#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Keyboard moves of the grid's current byte, worked out on image addresses so that the byte
// editor's boxes can drive the grid the way the grid's own keys do.
class GridNavigation {
public:
    enum class Move {
        RowUp,     // Up: the same column one row up
        RowDown,   // Down: one row down
        PageUp,    // PageUp: a screenful of rows up, at most to the first row
        PageDown,  // PageDown: a screenful down, at most to the last row
        First,     // Ctrl+Home: address 0
        Last,      // Ctrl+End: the last byte
        Next,      // Enter in the hex box: the next byte, row after row
    };

    // The move a key of the editor's boxes stands for; nothing for other keys.
    [[nodiscard]] static std::optional<Move> moveForKey(int key, Qt::KeyboardModifiers modifiers);

    // The address after `move` from `address` in an image of `size` bytes, with `pageRows` rows
    // on screen. A move past either end stops at the nearest byte in the same column (the first
    // or last byte for First, Last and Next). Nothing when the image is empty.
    [[nodiscard]] static std::optional<qint64> target(qint64 address, Move move, qint64 size,
                                                      int pageRows);

    // An address typed in hexadecimal ("1F0", "0x1f0", blanks around it); nothing for text
    // that is not one, or that lies outside an image of `size` bytes.
    [[nodiscard]] static std::optional<qint64> typedAddress(const QString& text, qint64 size);
};
