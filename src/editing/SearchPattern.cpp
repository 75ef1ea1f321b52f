#include "editing/SearchPattern.h"

#include "editing/ByteTexts.h"

#include <QStringEncoder>

namespace {

SearchPattern failed(QStringView text, SearchPattern::Error error, qsizetype index)
{
    SearchPattern pattern;
    pattern.error = error;
    pattern.place = TextPlace::of(text, index);
    return pattern;
}

SearchPattern fromHex(QStringView text)
{
    const ByteTexts::HexParse parse = ByteTexts::parseHex(text);
    SearchPattern pattern;
    pattern.bytes = parse.bytes;
    pattern.place = parse.place;
    switch (parse.error) {
        case ByteTexts::HexParse::Error::None:
            break;
        case ByteTexts::HexParse::Error::Empty:
            pattern.error = SearchPattern::Error::Empty;
            break;
        case ByteTexts::HexParse::Error::NotHexadecimal:
            pattern.error = SearchPattern::Error::NotHexadecimal;
            break;
        case ByteTexts::HexParse::Error::OddDigits:
            pattern.error = SearchPattern::Error::OddDigits;
            break;
        case ByteTexts::HexParse::Error::MissingDigits:
            pattern.error = SearchPattern::Error::MissingDigits;
            break;
    }
    return pattern;
}

SearchPattern fromAscii(QStringView text)
{
    SearchPattern pattern;
    pattern.bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0x7F) return failed(text, SearchPattern::Error::NotAscii, i);
        pattern.bytes.append(static_cast<char>(text[i].unicode()));
    }
    return pattern;
}

// One character (a surrogate pair counts as one) in Shift_JIS; empty when it has none.
QByteArray shiftJisOf(QStringView character)
{
    // ASCII is taken as it is: the platform's converter maps some control codes elsewhere.
    if (character.size() == 1 && character[0].unicode() < 0x80) {
        return QByteArray(1, static_cast<char>(character[0].unicode()));
    }
    QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        // Without a converter only the half-width katakana are known.
        const char16_t c = character[0].unicode();
        if (character.size() == 1 && c >= 0xFF61 && c <= 0xFF9F) {
            return QByteArray(1, static_cast<char>(0xA1 + (c - 0xFF61)));
        }
        return {};
    }
    const QByteArray bytes = encoder.encode(character);
    return encoder.hasError() ? QByteArray() : bytes;
}

SearchPattern fromShiftJis(QStringView text)
{
    SearchPattern pattern;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = shiftJisOf(text.sliced(i, length));
        if (bytes.isEmpty()) return failed(text, SearchPattern::Error::NotShiftJis, i);
        pattern.bytes.append(bytes);
        i += length;
    }
    return pattern;
}

}  // namespace

SearchPattern SearchPattern::fromText(QStringView text, Form form)
{
    if (text.isEmpty()) return failed(text, Error::Empty, 0);
    switch (form) {
        case Form::Hex:
            return fromHex(text);
        case Form::Ascii:
            return fromAscii(text);
        case Form::ShiftJis:
            return fromShiftJis(text);
    }
    return fromHex(text);
}
