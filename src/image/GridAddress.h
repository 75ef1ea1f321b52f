#pragma once

#include <QtGlobal>

#include <optional>

// The hex grid's cell arithmetic. Row 0 is the header, column 0 the row labels, columns 1 to
// 16 the bytes and column 17 the row's text cell; the byte cell in row r, column c stands for
// image address (r - 1) * 16 + (c - 1).
class GridAddress {
public:
    static constexpr int kBytesPerRow = 16;
    static constexpr int kHeaderRow = 0;
    static constexpr int kLabelColumn = 0;
    static constexpr int kFirstByteColumn = 1;
    static constexpr int kLastByteColumn = 16;
    static constexpr int kTextColumn = 17;
    static constexpr int kColumnCount = 18;

    // The address of a byte cell; nothing for the header, the labels and the text cells.
    [[nodiscard]] static std::optional<qint64> addressOf(int row, int column)
    {
        if (row < 1 || column < kFirstByteColumn || column > kLastByteColumn) return std::nullopt;
        return qint64{row - 1} * kBytesPerRow + (column - 1);
    }

    [[nodiscard]] static int rowOf(qint64 address)
    {
        return static_cast<int>(address / kBytesPerRow) + 1;
    }
    [[nodiscard]] static int columnOf(qint64 address)
    {
        return static_cast<int>(address % kBytesPerRow) + 1;
    }
    [[nodiscard]] static qint64 firstAddressOfRow(int row)
    {
        return qint64{row - 1} * kBytesPerRow;
    }

    // Data rows for an image of `size` bytes: whole rows of 16 only.
    [[nodiscard]] static int dataRowCount(qint64 size)
    {
        return size > 0 ? static_cast<int>(size / kBytesPerRow) : 0;
    }
};
