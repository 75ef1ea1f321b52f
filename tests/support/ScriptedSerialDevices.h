#pragma once

#include "link/SerialDevices.h"

#include <QList>

// Serial devices as the test lists them: pseudo-terminals stand in for USB adapters, with
// whatever maker, product and serial number the test gives them. Stable links are looked for
// in the folder the test names.
class ScriptedSerialDevices : public SerialDevices {
public:
    QList<SerialDevice> devices;

    // Adds a device at `path` with the strings a USB adapter reports.
    ScriptedSerialDevices& add(const QString& path, const QString& maker = QString(),
                               const QString& product = QString(),
                               const QString& serialNumber = QString())
    {
        SerialDevice device;
        device.path = path;
        device.maker = maker;
        device.product = product;
        device.serialNumber = serialNumber;
        devices.append(device);
        return *this;
    }

protected:
    [[nodiscard]] QList<SerialDevice> systemDevices() const override { return devices; }
};
