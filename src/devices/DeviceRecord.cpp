#include "devices/DeviceRecord.h"

DeviceRecord::DeviceRecord(const QStringList& words) : m_fields(words.mid(0, kFieldCount)) {}

QString DeviceRecord::field(int index) const { return m_fields.value(index); }

QString DeviceRecord::listLine() const
{
    // A name of nine characters or more still gets one blank, so it never runs into the text.
    const QString name = field(ListName);
    const QString padded =
        name.size() < 9 ? name.leftJustified(9, QLatin1Char(' ')) : name + QLatin1Char(' ');
    return padded + field(ListText);
}
