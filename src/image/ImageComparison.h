#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QList>

#include <cstdint>

// One byte that is not what it should be.
struct ByteDifference {
    qint64 address = 0;
    std::uint8_t expected = 0;  // the buffer's byte (0xFF for a blank check)
    std::uint8_t actual = 0;    // the other side's byte: the chip's, or a file's
};

// How two copies of the memory compare over a range: the memory image against what a chip or a
// file holds. The window marks every differing cell and lists the first ones.
struct Comparison {
    // The differences listed in full: enough to find a pattern, few enough to show in a list.
    static constexpr int kListed = 256;

    qint64 compared = 0;          // bytes compared
    qint64 mismatches = 0;        // bytes that differ
    QList<ByteDifference> first;  // the first kListed differences, in address order
    // Bit n set: address n differs. Empty when nothing differs; else as long as the compared
    // buffers.
    QBitArray differing;

    [[nodiscard]] bool matches() const { return mismatches == 0; }
};

// Compares `actual` with `expected` over [start, start + length); both must cover the range.
[[nodiscard]] Comparison compareRange(const QByteArray& expected, const QByteArray& actual,
                                      qint64 start, qint64 length);

// Compares `actual` over [start, start + length) with the blank value 0xFF.
[[nodiscard]] Comparison compareWithBlank(const QByteArray& actual, qint64 start, qint64 length);
