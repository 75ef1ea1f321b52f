#pragma once

#include "devices/DeviceRecord.h"

#include <QList>
#include <QStringList>

// DeviceTable: the device rows of the data file, in file order. Filled once at start-up and
// never changed; a row's index is the device's index in the device list.
class DeviceCatalogue {
public:
    DeviceCatalogue() = default;
    explicit DeviceCatalogue(const QList<QStringList>& rows);

    [[nodiscard]] int size() const { return static_cast<int>(m_records.size()); }
    [[nodiscard]] bool isEmpty() const { return m_records.isEmpty(); }
    [[nodiscard]] const DeviceRecord& record(int index) const { return m_records.at(index); }

    // The index of the first row whose ListName is `name`, or -1.
    [[nodiscard]] int indexOf(const QString& name) const;

private:
    QList<DeviceRecord> m_records;
};
