#include "devices/DeviceRecord.h"

DeviceRecord::DeviceRecord(const QStringList& words) : m_fields(words.mid(0, kFieldCount)) {}

QString DeviceRecord::field(int index) const { return m_fields.value(index); }

QString DeviceRecord::listLine() const
{
    return field(ListName).leftJustified(9, QLatin1Char(' ')) + field(ListText);
}
