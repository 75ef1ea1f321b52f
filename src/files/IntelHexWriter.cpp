#include "files/IntelHexWriter.h"

#include "base/HexText.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr qint64 kRecordBytes = 16;

using ByteDigits = std::array<std::array<char, 2>, 256>;

// The two digits of every byte value, taken once from hexText: every record of a 64 KiB file
// is built from them.
const ByteDigits& byteDigits()
{
    static const ByteDigits digits = [] {
        ByteDigits result{};
        for (int value = 0; value < 256; ++value) {
            const QByteArray text = hexText(static_cast<quint32>(value), 2).toLatin1();
            result[value] = {text.at(0), text.at(1)};
        }
        return result;
    }();
    return digits;
}

char* putByte(char* out, std::uint8_t value, const ByteDigits& table = byteDigits())
{
    out[0] = table[value][0];
    out[1] = table[value][1];
    return out + 2;
}

// HexDigitValue of the upper-case form of a single-byte character: no character but "a".."f"
// turns into a digit when upper-cased, so the others need no case mapping.
int digitValue(char c)
{
    return HexDigitValue(QLatin1Char(c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c));
}

}  // namespace

void AppendRecordChecksum(QByteArray& record)
{
    int sum = 0;
    for (qsizetype pos = 1; pos < record.size(); pos += 2) {
        sum += pos + 1 < record.size()
                   ? digitValue(record.at(pos)) * 16 + digitValue(record.at(pos + 1))
                   : digitValue(record.at(pos));
    }
    std::array<char, 2> checksum{};
    putByte(checksum.data(), static_cast<std::uint8_t>((0x100 - sum % 0x100) % 0x100));
    record.append(checksum.data(), 2);
}

QByteArray intelHexText(const QByteArray& image)
{
    static const QByteArray kEndLine = QByteArrayLiteral(":00000001FF\r\n");
    const qint64 records = std::min<qint64>(image.size(), kIntelHexSaveLimit) / kRecordBytes;

    QByteArray text;
    text.reserve(records * 45 + kEndLine.size());
    // ":10" AAAA "00" and 16 data bytes: 41 characters before the checksum.
    const ByteDigits& table = byteDigits();
    QByteArray record;
    record.reserve(45);
    for (qint64 r = 0; r < records; ++r) {
        const qint64 address = r * kRecordBytes;
        record.resize(41);
        char* out = record.data();
        *out++ = ':';
        out = putByte(out, 0x10);
        out = putByte(out, static_cast<std::uint8_t>(address >> 8));
        out = putByte(out, static_cast<std::uint8_t>(address));
        out = putByte(out, 0x00);
        for (qint64 i = 0; i < kRecordBytes; ++i) {
            out = putByte(out, static_cast<std::uint8_t>(image.at(address + i)), table);
        }
        AppendRecordChecksum(record);
        text += record;
        text += "\r\n";
    }
    text += kEndLine;
    return text;
}
