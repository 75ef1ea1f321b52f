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

namespace {

// Appends one record: ":", the count, the address, the type, the data, the checksum, CR LF. The
// checksum is summed from the bytes as they are put down, which gives what
// AppendRecordChecksum gives for the record's text.
void appendRecord(QByteArray& text, std::uint16_t address, std::uint8_t type, const char* data,
                  int dataBytes)
{
    const ByteDigits& table = byteDigits();
    const qsizetype start = text.size();
    text.resize(start + 1 + 2 * (5 + dataBytes) + 2);
    char* out = text.data() + start;
    *out++ = ':';
    unsigned sum = 0;
    const auto put = [&](std::uint8_t byte) {
        sum += byte;
        out = putByte(out, byte, table);
    };
    put(static_cast<std::uint8_t>(dataBytes));
    put(static_cast<std::uint8_t>(address >> 8));
    put(static_cast<std::uint8_t>(address));
    put(type);
    for (int i = 0; i < dataBytes; ++i) put(static_cast<std::uint8_t>(data[i]));
    out = putByte(out, static_cast<std::uint8_t>(0x100 - sum % 0x100), table);
    *out++ = '\r';
    *out = '\n';
}

}  // namespace

QByteArray intelHexText(const QByteArray& image)
{
    static const QByteArray kEndLine = QByteArrayLiteral(":00000001FF\r\n");
    // A part's image is whole records; a shorter last record holds what follows the last whole
    // one (a saved selection), so no byte is left out.
    const qint64 records = (image.size() + kRecordBytes - 1) / kRecordBytes;
    const bool banked = image.size() > kIntelHexBankSize;

    QByteArray text;
    text.reserve(records * 45 + (banked ? image.size() / kIntelHexBankSize * 17 : 0) +
                 kEndLine.size());
    for (qint64 r = 0; r < records; ++r) {
        const qint64 address = r * kRecordBytes;
        if (banked && address % kIntelHexBankSize == 0) {
            const qint64 bank = address / kIntelHexBankSize;
            const std::array<char, 2> bankBytes = {static_cast<char>(bank >> 8),
                                                   static_cast<char>(bank)};
            appendRecord(text, 0, 0x04, bankBytes.data(), 2);
        }
        appendRecord(text, static_cast<std::uint16_t>(address), 0x00, image.constData() + address,
                     static_cast<int>(std::min(kRecordBytes, image.size() - address)));
    }
    text += kEndLine;
    return text;
}
