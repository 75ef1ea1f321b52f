#include "files/ImageByteOrder.h"

#include <utility>

void swapBytePairs(QByteArray& bytes)
{
    char* data = bytes.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) std::swap(data[i], data[i + 1]);
}

QByteArray inByteOrder(const QByteArray& bytes, ImageByteOrder order)
{
    if (order == ImageByteOrder::AsIs) return bytes;
    QByteArray swapped = bytes;
    swapBytePairs(swapped);
    return swapped;
}
