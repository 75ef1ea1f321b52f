#pragma once

#include <QByteArray>

// How the bytes of an image file stand against the part's. Tools that read a 93Cxx part in its
// x16 organisation store each 16-bit word with its bytes the other way round from the x8 image
// that the board reads: byte 2n of the file is byte 2n + 1 of the part and the other way round.
enum class ImageByteOrder {
    AsIs,       // the file's byte n is the part's byte n
    Swapped16,  // each pair of bytes swapped (x16 dumps)
};

// Swaps every pair of bytes of `bytes` in place; a last odd byte stays where it is.
void swapBytePairs(QByteArray& bytes);

// `bytes` in `order`: a copy with its pairs swapped for Swapped16, else `bytes` itself.
[[nodiscard]] QByteArray inByteOrder(const QByteArray& bytes, ImageByteOrder order);
