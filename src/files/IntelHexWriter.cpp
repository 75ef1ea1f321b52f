#include "files/IntelHexWriter.h"

#include "app/HexText.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr qint64 kRecordBytes = 16;

// The value of a group of one or two digits, as HexValue gives it for such a group. Kept
// allocation-free because every record of a 64 KiB file passes through it.
int groupValue(QStringView group)
{
    int value = 0;
    for (QChar c : group) value = value * 16 + HexDigitValue(c.toUpper());
    return value;
}

// The two-digit text of every byte value, built once through hexText.
const std::array<QString, 256>& byteTexts()
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> result;
        for (int value = 0; value < 256; ++value) result[value] = hexText(value, 2);
        return result;
    }();
    return texts;
}

}  // namespace

void AppendRecordChecksum(QString& record)
{
    int sum = 0;
    for (qsizetype pos = 1; pos < record.size(); pos += 2) {
        sum += groupValue(QStringView(record).mid(pos, 2));
    }
    record += hexText((0x100 - sum % 0x100) % 0x100, 2);
}

QByteArray intelHexText(const QByteArray& image)
{
    static const QString kEndLine = QStringLiteral(":00000001FF\r\n");
    const auto& bytes = byteTexts();
    const qint64 records = std::min<qint64>(image.size(), kIntelHexSaveLimit) / kRecordBytes;

    QString text;
    text.reserve(records * 45 + kEndLine.size());
    QString record;
    record.reserve(45);
    for (qint64 r = 0; r < records; ++r) {
        const qint64 address = r * kRecordBytes;
        record = QStringLiteral(":10") + hexText(static_cast<quint32>(address), 4) +
                 QStringLiteral("00");
        for (qint64 i = 0; i < kRecordBytes; ++i) {
            record += bytes[static_cast<std::uint8_t>(image.at(address + i))];
        }
        AppendRecordChecksum(record);
        text += record;
        text += QStringLiteral("\r\n");
    }
    text += kEndLine;
    return text.toLatin1();
}
