#include "devices/DeviceCatalogue.h"

DeviceCatalogue::DeviceCatalogue(const QList<QStringList>& rows)
{
    m_records.reserve(rows.size());
    for (const QStringList& words : rows) m_records.append(DeviceRecord(words));
}

int DeviceCatalogue::indexOf(const QString& name) const
{
    for (int i = 0; i < size(); ++i) {
        if (m_records.at(i).field(DeviceRecord::ListName) == name) return i;
    }
    return -1;
}
