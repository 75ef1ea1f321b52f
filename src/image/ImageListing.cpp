#include "image/ImageListing.h"

#include "app/StatusPanels.h"
#include "image/GridAddress.h"
#include "image/GridTexts.h"

#include <QFile>

namespace ImageListing {
namespace {

// "0x00000\t" + 16 x "0xFF\t" + 16 characters + CR LF
constexpr qsizetype kLineLength = 8 + 16 * 5 + 16 + 2;

}  // namespace

QByteArray line(const QByteArray& image, qint64 firstAddress)
{
    QByteArray text;
    text.reserve(kLineLength);
    text.append(GridTexts::rowLabelText(firstAddress).toLatin1());
    text.append('\t');
    for (int i = 0; i < GridAddress::kBytesPerRow; ++i) {
        const auto byte = static_cast<std::uint8_t>(image.at(firstAddress + i));
        text.append(GridTexts::byteCellText(byte).toLatin1());
        text.append('\t');
    }
    for (int i = 0; i < GridAddress::kBytesPerRow; ++i) {
        const auto byte = static_cast<std::uint8_t>(image.at(firstAddress + i));
        text.append(static_cast<char>(GridTexts::fillRuleByte(byte)));
    }
    text.append("\r\n");
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
    QByteArray listing;
    listing.reserve(rows * kLineLength);
    int shown = 0;
    for (int row = 1; row <= rows; ++row) {
        const qint64 first = GridAddress::firstAddressOfRow(row);
        listing.append(line(image, first));
        const int p = percent(first + GridAddress::kBytesPerRow - 1, image.size());
        if (p != shown) {
            panels.setText(3, QString::number(p) + QLatin1Char('%'));
            shown = p;
        }
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(listing) == listing.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace ImageListing
