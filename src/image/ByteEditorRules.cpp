#include "image/ByteEditorRules.h"

#include "base/HexText.h"
#include "base/NumberText.h"

#include <QStringEncoder>

namespace ByteEditorRules {

int hexKeyPress(int keyCode)
{
    if (keyCode < 0 || keyCode > 0xFFFF) return 0;
    const QChar c = QChar(static_cast<char16_t>(keyCode)).toUpper();
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F')) return u;
    if (keyCode == kBackspace) return kBackspace;
    return 0;
}

std::optional<std::uint8_t> hexBoxByte(const QString& text)
{
    const int value = HexValue(text);
    if (value > 0xFF) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

DecimalBoxEntry decimalBoxEntry(const QString& text)
{
    const std::optional<double> number = parseDecimal(text);
    if (!number || *number > 255.0) return {true, std::uint8_t{0xFF}};
    const double rounded = roundHalfEven(*number);
    if (rounded < 0.0) return {};
    return {false, static_cast<std::uint8_t>(rounded)};
}

std::optional<std::uint8_t> characterBoxByte(const QString& text)
{
    if (text.isEmpty()) return std::nullopt;
    const QChar first = text.at(0);
    if (first.isSurrogate()) return std::nullopt;
    // Shift_JIS keeps ASCII as it is; the platform's converter maps some control codes to other
    // bytes, so they are taken directly.
    if (first.unicode() < 0x80) return static_cast<std::uint8_t>(first.unicode());
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid()) {
        // Without a Shift_JIS converter only the half-width katakana are known single bytes.
        if (first.unicode() >= 0xFF61 && first.unicode() <= 0xFF9F) {
            return static_cast<std::uint8_t>(0xA1 + (first.unicode() - 0xFF61));
        }
        return std::nullopt;
    }
    const QByteArray bytes = encoder.encode(QString(first));
    if (encoder.hasError() || bytes.size() != 1) return std::nullopt;
    return static_cast<std::uint8_t>(bytes.at(0));
}

QString hexBoxText(std::uint8_t value) { return hexText(value, 2); }

QString decimalBoxText(std::uint8_t value) { return QString::number(value); }

}  // namespace ByteEditorRules
