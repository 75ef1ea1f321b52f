#include "production/SerialField.h"

#include "base/WordTable.h"

#include <algorithm>
#include <limits>

namespace {

const WordTable<SerialFormat, 7> kFormatNames{{
    {SerialFormat::Decimal, "decimal"},
    {SerialFormat::Hex, "hex"},
    {SerialFormat::BinaryLe, "binary-le"},
    {SerialFormat::BinaryBe, "binary-be"},
    {SerialFormat::Bcd, "bcd"},
    {SerialFormat::Mac, "mac"},
    {SerialFormat::Csv, "csv"},
}};

constexpr qint64 kLargestNumber = std::numeric_limits<qint64>::max();

// base^digits - 1, or the largest number when that is beyond it.
qint64 allDigits(int base, int digits)
{
    qint64 value = 1;
    for (int i = 0; i < digits; ++i) {
        if (value > kLargestNumber / base) return kLargestNumber;
        value *= base;
    }
    return value - 1;
}

// `number` in `count` bytes, most significant first.
QByteArray bigEndian(qint64 number, int count)
{
    QByteArray bytes(count, '\0');
    for (int i = count - 1; i >= 0; --i) {
        bytes[i] = static_cast<char>(number & 0xFF);
        number >>= 8;
    }
    return bytes;
}

}  // namespace

QString serialFormatName(SerialFormat format) { return wordOf(kFormatNames, format); }

std::optional<SerialFormat> serialFormatNamed(const QString& name)
{
    return valueOfWord(kFormatNames, name);
}

qint64 SerialField::largestValue() const
{
    if (length < 1) return -1;
    switch (format) {
        case SerialFormat::Decimal:
            return allDigits(10, length);
        case SerialFormat::Hex:
            return allDigits(16, length);
        case SerialFormat::BinaryLe:
        case SerialFormat::BinaryBe:
            return length > 8 ? -1 : allDigits(256, length);
        case SerialFormat::Bcd:
            return allDigits(10, 2 * length);
        case SerialFormat::Mac: {
            const int counterBytes = kMacBytes - static_cast<int>(macPrefix.size());
            const bool textLength =
                length == kMacBytes || length == kMacHexLength || length == kMacTextLength;
            if (!textLength || macPrefix.isEmpty() || counterBytes < 1) return -1;
            return allDigits(256, counterBytes);
        }
        case SerialFormat::Csv:
            return csvValues.size() - 1;
    }
    return -1;
}

std::optional<QByteArray> SerialField::encode(qint64 number, const QString& csvText) const
{
    if (format == SerialFormat::Csv) {
        QByteArray bytes = csvText.toUtf8();
        if (bytes.isEmpty() || bytes.size() > length) return std::nullopt;
        // A shorter text ends at the first zero byte, as C strings do.
        return bytes.leftJustified(length, '\0');
    }
    if (number < 0 || number > largestValue()) return std::nullopt;
    switch (format) {
        case SerialFormat::Decimal:
            return QByteArray::number(number).rightJustified(length, '0');
        case SerialFormat::Hex:
            return QByteArray::number(number, 16).toUpper().rightJustified(length, '0');
        case SerialFormat::BinaryLe: {
            QByteArray bytes = bigEndian(number, length);
            std::reverse(bytes.begin(), bytes.end());
            return bytes;
        }
        case SerialFormat::BinaryBe:
            return bigEndian(number, length);
        case SerialFormat::Bcd: {
            const QByteArray digits = QByteArray::number(number).rightJustified(2 * length, '0');
            QByteArray bytes(length, '\0');
            for (int i = 0; i < length; ++i) {
                bytes[i] = static_cast<char>(((digits.at(2 * i) - '0') << 4) |
                                             (digits.at(2 * i + 1) - '0'));
            }
            return bytes;
        }
        case SerialFormat::Mac: {
            const QByteArray address =
                macPrefix + bigEndian(number, kMacBytes - static_cast<int>(macPrefix.size()));
            if (length == kMacBytes) return address;
            if (length == kMacHexLength) return address.toHex().toUpper();
            return address.toHex(':').toUpper();
        }
        case SerialFormat::Csv:
            break;
    }
    return std::nullopt;
}

QString SerialField::displayText(qint64 number, const QString& csvText) const
{
    switch (format) {
        case SerialFormat::Csv:
            return csvText;
        case SerialFormat::BinaryLe:
        case SerialFormat::BinaryBe:
            return QString::number(number);
        case SerialFormat::Bcd:
            return QString::number(number).rightJustified(2 * length, QLatin1Char('0'));
        case SerialFormat::Mac: {
            const QByteArray address =
                macPrefix + bigEndian(number, kMacBytes - static_cast<int>(macPrefix.size()));
            return QString::fromLatin1(address.toHex(':').toUpper());
        }
        case SerialFormat::Decimal:
        case SerialFormat::Hex:
            break;
    }
    return QString::fromLatin1(encode(number).value_or(QByteArray()));
}
