#include "files/SRecordWriter.h"

#include "base/HexText.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr qint64 kRecordBytes = 16;
constexpr qint64 kShortAddressLimit = 65536;

// Builds one record: "S", the type, the count, the address in `addressBytes` bytes, the data
// and the checksum, with CR LF.
class RecordBuilder {
public:
    RecordBuilder()
    {
        for (int value = 0; value < 256; ++value) {
            const QByteArray text = hexText(static_cast<quint32>(value), 2).toLatin1();
            m_digits[value] = {text.at(0), text.at(1)};
        }
    }

    void append(QByteArray& text, char type, int addressBytes, quint32 address, const char* data,
                qint64 dataBytes) const
    {
        const int count = addressBytes + static_cast<int>(dataBytes) + 1;
        // "S", the type, the count, the address, the data, the checksum, CR LF.
        const qsizetype start = text.size();
        text.resize(start + 2 + 2 * (count + 1) + 2);
        char* out = text.data() + start;
        unsigned sum = static_cast<unsigned>(count);
        *out++ = 'S';
        *out++ = type;
        out = putByte(out, static_cast<std::uint8_t>(count));
        for (int shift = 8 * (addressBytes - 1); shift >= 0; shift -= 8) {
            const auto byte = static_cast<std::uint8_t>(address >> shift);
            sum += byte;
            out = putByte(out, byte);
        }
        for (qint64 i = 0; i < dataBytes; ++i) {
            const auto byte = static_cast<std::uint8_t>(data[i]);
            sum += byte;
            out = putByte(out, byte);
        }
        out = putByte(out, static_cast<std::uint8_t>(~sum));
        *out++ = '\r';
        *out = '\n';
    }

private:
    char* putByte(char* out, std::uint8_t value) const
    {
        out[0] = m_digits[value][0];
        out[1] = m_digits[value][1];
        return out + 2;
    }

    std::array<std::array<char, 2>, 256> m_digits{};
};

}  // namespace

QByteArray sRecordText(const QByteArray& image)
{
    static const RecordBuilder builder;
    const bool shortAddresses = image.size() <= kShortAddressLimit;
    const char dataType = shortAddresses ? '1' : '2';
    const int addressBytes = shortAddresses ? 2 : 3;
    const qint64 records = (image.size() + kRecordBytes - 1) / kRecordBytes;

    QByteArray text;
    text.reserve(records * (2 * (addressBytes + kRecordBytes + 2) + 4) + 64);
    builder.append(text, '0', 2, 0, nullptr, 0);
    for (qint64 r = 0; r < records; ++r) {
        const qint64 address = r * kRecordBytes;
        const qint64 length = std::min(kRecordBytes, image.size() - address);
        builder.append(text, dataType, addressBytes, static_cast<quint32>(address),
                       image.constData() + address, length);
    }
    if (records <= 0xFFFF) {
        builder.append(text, '5', 2, static_cast<quint32>(records), nullptr, 0);
    } else {
        builder.append(text, '6', 3, static_cast<quint32>(records), nullptr, 0);
    }
    builder.append(text, shortAddresses ? '9' : '8', shortAddresses ? 2 : 3, 0, nullptr, 0);
    return text;
}
