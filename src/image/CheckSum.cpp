#include "image/CheckSum.h"

#include "base/HexText.h"

QString CheckSumText(const QByteArray& image)
{
    // At most 131,072 x 255: no overflow in 32 bits, and only the low 16 bits are shown.
    quint32 sum = 0;
    for (const char byte : image) sum += static_cast<unsigned char>(byte);
    return QStringLiteral("CheckSum:") + hexText(sum & 0xFFFFu, 4);
}
