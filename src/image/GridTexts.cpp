#include "image/GridTexts.h"

#include "base/HexText.h"
#include "image/GridAddress.h"

#include <algorithm>

namespace GridTexts {
namespace {

bool showsFill(std::uint8_t b)
{
    return ((b >= 0x21 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF)) && b != 0x2C && b != 0x22;
}

bool showsClick(std::uint8_t b) { return b >= 0x20 && b <= 0x7E; }

bool showsEditor(std::uint8_t b) { return (b >= 0x20 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF); }

template <typename Rule>
QString rowText(const QByteArray& image, qint64 firstAddress, Rule rule)
{
    QString text;
    if (firstAddress < 0) return text;
    const qint64 end = std::min<qint64>(image.size(), firstAddress + GridAddress::kBytesPerRow);
    for (qint64 a = firstAddress; a < end; ++a) {
        text.append(rule(static_cast<std::uint8_t>(image.at(a))));
    }
    return text;
}

}  // namespace

QString byteCellText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }

QString wordCellText(std::uint16_t value) { return QStringLiteral("0x") + hexText(value, 4); }

QString rowLabelText(qint64 firstAddress)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(firstAddress), 5);
}

QChar ownCharacter(std::uint8_t value)
{
    if (value >= 0x20 && value <= 0x7E) return QChar(value);
    if (value >= 0xA1 && value <= 0xDF) return QChar(0xFF61 + (value - 0xA1));
    if (value == 0x7F || value == 0xA0) return QChar(u' ');
    return kSubstitute;
}

QChar fillRuleCharacter(std::uint8_t value)
{
    return showsFill(value) ? ownCharacter(value) : kSubstitute;
}

QChar clickRuleCharacter(std::uint8_t value)
{
    return showsClick(value) ? ownCharacter(value) : kSubstitute;
}

QChar editorRuleCharacter(std::uint8_t value)
{
    return showsEditor(value) ? ownCharacter(value) : kSubstitute;
}

std::uint8_t fillRuleByte(std::uint8_t value) { return showsFill(value) ? value : kSubstituteByte; }

QString fillRuleRowText(const QByteArray& image, qint64 firstAddress)
{
    return rowText(image, firstAddress, fillRuleCharacter);
}

QString editorRuleRowText(const QByteArray& image, qint64 firstAddress)
{
    return rowText(image, firstAddress, editorRuleCharacter);
}

}  // namespace GridTexts
