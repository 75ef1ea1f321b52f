#include "image/CheckSum.h"

#include "base/HexText.h"

std::uint16_t byteSum16(QByteArrayView bytes)
{
    // Only the low 16 bits count, so the sum may wrap as it likes.
    std::uint32_t sum = 0;
    for (const char byte : bytes) sum += static_cast<unsigned char>(byte);
    return static_cast<std::uint16_t>(sum);
}

QString CheckSumText(const QByteArray& image)
{
    return QStringLiteral("CheckSum:") + hexText(byteSum16(image), 4);
}
