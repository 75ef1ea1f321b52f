#include "image/ImageListing.h"

#include "base/HexText.h"
#include "base/SpecialFile.h"
#include "base/StatusPanels.h"
#include "image/GridAddress.h"
#include "image/GridTexts.h"

#include <QFile>

#include <array>
#include <cstring>

namespace ImageListing {
namespace {

// "0x00000\t" + 16 x "0xFF\t" + 16 characters + CR LF
constexpr qsizetype kLineLength = 8 + 16 * 5 + 16 + 2;

// The two hexadecimal digits of every byte value, made once from hexText(): a 1 Mbit listing
// needs 131,072 byte cells and 8,192 labels, too many to format one by one.
const std::array<std::array<char, 2>, 256>& byteDigits()
{
    static const std::array<std::array<char, 2>, 256> digits = [] {
        std::array<std::array<char, 2>, 256> result{};
        for (int b = 0; b < 256; ++b) {
            const QByteArray text = hexText(static_cast<quint32>(b), 2).toLatin1();
            result[b] = {text.at(0), text.at(1)};
        }
        return result;
    }();
    return digits;
}

// Writes the line of the row at `firstAddress` to `out`, which has room for kLineLength bytes.
char* putLine(char* out, const QByteArray& image, qint64 firstAddress)
{
    const auto& digits = byteDigits();
    const auto& high = digits[(firstAddress >> 16) & 0xFF];
    const auto& middle = digits[(firstAddress >> 8) & 0xFF];
    const auto& low = digits[firstAddress & 0xFF];
    const char label[] = {'0', 'x', high[1], middle[0], middle[1], low[0], low[1], '\t'};
    std::memcpy(out, label, sizeof label);
    out += sizeof label;

    const auto* bytes = reinterpret_cast<const unsigned char*>(image.constData()) + firstAddress;
    for (int i = 0; i < GridAddress::kBytesPerRow; ++i) {
        const auto& cell = digits[bytes[i]];
        const char text[] = {'0', 'x', cell[0], cell[1], '\t'};
        std::memcpy(out, text, sizeof text);
        out += sizeof text;
    }
    for (int i = 0; i < GridAddress::kBytesPerRow; ++i) {
        *out++ = static_cast<char>(GridTexts::fillRuleByte(bytes[i]));
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace

QByteArray line(const QByteArray& image, qint64 firstAddress)
{
    if (firstAddress < 0 || firstAddress + GridAddress::kBytesPerRow > image.size()) return {};
    QByteArray text(kLineLength, Qt::Uninitialized);
    putLine(text.data(), image, firstAddress);
    return text;
}

int percent(qint64 lastAddress, qint64 size)
{
    if (size <= 1) return 100;
    const qint64 numerator = lastAddress * 100;
    const qint64 denominator = size - 1;
    qint64 result = numerator / denominator;
    const qint64 twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && result % 2 != 0)) {
        ++result;
    }
    return static_cast<int>(result);
}

bool write(const QByteArray& image, const QString& path, StatusPanels& panels)
{
    const int rows = GridAddress::dataRowCount(image.size());
    QByteArray listing(rows * kLineLength, Qt::Uninitialized);
    char* out = listing.data();
    int shown = 0;
    for (int row = 1; row <= rows; ++row) {
        const qint64 first = GridAddress::firstAddressOfRow(row);
        out = putLine(out, image, first);
        const int p = percent(first + GridAddress::kBytesPerRow - 1, image.size());
        if (p != shown) {
            panels.setText(3, QString::number(p) + QLatin1Char('%'));
            shown = p;
        }
    }

    // A pipe without a reader would keep the open waiting for ever.
    if (isSpecialFile(path)) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(listing) == listing.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace ImageListing
