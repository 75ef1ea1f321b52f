#include "devices/EnduranceCycles.h"

#include <limits>

std::optional<qint64> enduranceCycles(const QString& word)
{
    QString text = word.trimmed();
    if (text.endsWith(u'回')) text.chop(1);
    qint64 unit = 1;
    if (text.endsWith(u'万')) {
        unit = 10000;
        text.chop(1);
    } else if (text.endsWith(u'億')) {
        unit = 100000000;
        text.chop(1);
    }
    if (text.isEmpty()) return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
    }
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number > std::numeric_limits<qint64>::max() / unit) return std::nullopt;
    return number * unit;
}
