#include "base/HexText.h"

QString hexText(quint32 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return 0;
}

int HexValue(const QString& text)
{
    const QString digits = (QStringLiteral("000") + text).right(4).toUpper();
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        value = value * 16 + (i < digits.size() ? HexDigitValue(digits.at(i)) : 0);
    }
    return value;
}
