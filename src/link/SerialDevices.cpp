#include "link/SerialDevices.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include <algorithm>

QList<SerialDevice> SerialDevices::present() const
{
    // A device may have several stable links (one per USB interface name form); the first in
    // name order is kept so that the choice does not change from one look to the next.
    QHash<QString, QString> stableLinks;
    const QFileInfoList links =
        QDir(m_stableFolder)
            .entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink()) continue;
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !stableLinks.contains(target)) {
            stableLinks.insert(target, link.absoluteFilePath());
        }
    }

    QList<SerialDevice> devices = systemDevices();
    for (SerialDevice& device : devices) {
        device.exists = exists(device.path);
        if (device.stablePath.isEmpty())
            device.stablePath = stableLinks.value(resolved(device.path));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
    return devices;
}

QList<SerialDevice> SerialDevices::systemDevices() const
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation();
        // Only USB devices carry the strings; a built-in port's description is the driver's
        // generic text, which says nothing a person could match to a cable.
        if (info.hasVendorIdentifier()) {
            device.maker = info.manufacturer();
            device.product = info.description();
            device.serialNumber = info.serialNumber();
        }
        devices.append(device);
    }
    return devices;
}

namespace {

const SerialDevice* findListed(const QString& path, const QList<SerialDevice>& present)
{
    const QString target = SerialDevices::resolved(path);
    for (const SerialDevice& device : present) {
        if (device.path == path || device.stablePath == path ||
            SerialDevices::resolved(device.path) == target) {
            return &device;
        }
    }
    return nullptr;
}

}  // namespace

bool SerialDevices::isListed(const QString& path, const QList<SerialDevice>& present)
{
    return findListed(path, present) != nullptr;
}

SerialDevice SerialDevices::describe(const QString& path, const QList<SerialDevice>& present)
{
    if (const SerialDevice* listed = findListed(path, present)) return *listed;
    SerialDevice device;
    device.path = path;
    device.exists = exists(path);
    return device;
}

bool SerialDevices::exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString SerialDevices::resolved(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}
