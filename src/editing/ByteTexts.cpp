#include "editing/ByteTexts.h"

#include "base/HexDigits.h"
#include "base/HexText.h"
#include "image/GridAddress.h"
#include "image/GridTexts.h"

#include <array>

namespace ByteTexts {
namespace {

bool isSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u';' || c == u':' || c == u'-';
}

int digitOf(QChar c)
{
    return c.unicode() < 0x80 ? hexDigitValue(static_cast<char>(c.unicode())) : -1;
}

HexParse failed(QStringView text, HexParse::Error error, qsizetype index)
{
    HexParse parse;
    parse.error = error;
    parse.place = TextPlace::of(text, index);
    return parse;
}

}  // namespace

HexParse parseHex(QStringView text)
{
    HexParse parse;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        const qsizetype tokenStart = i;
        if (text[i] == u'0' && i + 1 < size && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
            i += 2;
        }
        const qsizetype digitsStart = i;
        while (i < size && digitOf(text[i]) >= 0) ++i;
        if (i < size && !isSeparator(text[i])) {
            return failed(text, HexParse::Error::NotHexadecimal, i);
        }
        const qsizetype digits = i - digitsStart;
        if (digits == 0) return failed(text, HexParse::Error::MissingDigits, tokenStart);
        if (digits == 1) {
            parse.bytes.append(static_cast<char>(digitOf(text[digitsStart])));
            continue;
        }
        if (digits % 2 != 0) return failed(text, HexParse::Error::OddDigits, tokenStart);
        for (qsizetype d = digitsStart; d < i; d += 2) {
            parse.bytes.append(static_cast<char>(digitOf(text[d]) * 16 + digitOf(text[d + 1])));
        }
    }
    if (parse.bytes.isEmpty()) return failed(text, HexParse::Error::Empty, 0);
    return parse;
}

QString hexLines(QByteArrayView bytes)
{
    // The two digits of every byte value, taken once from hexText: a copied 1 Mbit image is
    // 131,072 of them.
    static const std::array<QString, 256> digits = [] {
        std::array<QString, 256> table;
        for (int value = 0; value < 256; ++value) table[value] = hexText(value, 2);
        return table;
    }();
    QString text;
    text.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) text.append(i % GridAddress::kBytesPerRow == 0 ? u'\n' : u' ');
        text.append(digits[static_cast<std::uint8_t>(bytes[i])]);
    }
    return text;
}

QString textColumn(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        text.append(GridTexts::fillRuleCharacter(static_cast<std::uint8_t>(byte)));
    }
    return text;
}

}  // namespace ByteTexts
