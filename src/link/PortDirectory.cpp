#include "link/PortDirectory.h"

#include "base/SettingsStore.h"
#include "link/PortDevices.h"
#include "link/SerialDevices.h"
#include "link/SerialPort.h"

#include <QSet>

PortDirectory::PortDirectory(SettingsStore& settings, const QList<SerialDevice>& present)
    : m_settings(settings), m_present(present)
{
}

QString PortDirectory::devicePath(int portNumber) const
{
    return PortDevices(m_settings).devicePath(portNumber);
}

bool PortDirectory::isOverridden(int portNumber) const
{
    return !m_settings.get(SettingsKeys::kPorts, SettingsKeys::portKey(portNumber), QString())
                .trimmed()
                .isEmpty();
}

SerialDevice PortDirectory::device(int portNumber) const
{
    return SerialDevices::describe(devicePath(portNumber), m_present);
}

QList<LinkSettings> PortDirectory::searchOrder(int first) const
{
    QList<LinkSettings> order;
    QSet<QString> asked;
    const auto add = [&](int portNumber, const QString& path) {
        if (!SerialDevices::exists(path)) return;
        const QString resolved = SerialDevices::resolved(path);
        if (asked.contains(resolved)) return;
        asked.insert(resolved);
        LinkSettings link = LinkSettings::forPort(portNumber, m_settings);
        link.portNumber = portNumber;
        link.devicePath = path;
        order.append(link);
    };
    if (first >= SerialPort::kFirstPortNumber && first <= SerialPort::kLastPortNumber) {
        add(first, devicePath(first));
    }
    for (int number = SerialPort::kFirstPortNumber; number <= SerialPort::kLastPortNumber;
         ++number) {
        add(number, devicePath(number));
    }
    for (const SerialDevice& device : m_present) add(0, device.path);
    return order;
}

bool PortDirectory::leadsTo(int portNumber, const QString& resolvedPath) const
{
    const QString path = devicePath(portNumber);
    return path == resolvedPath || SerialDevices::resolved(path) == resolvedPath;
}

int PortDirectory::numberFor(const QString& devicePath, int preferred) const
{
    constexpr int kFirst = SerialPort::kFirstPortNumber;
    constexpr int kLast = SerialPort::kLastPortNumber;
    const bool preferredValid = preferred >= kFirst && preferred <= kLast;
    const QString target = SerialDevices::resolved(devicePath);
    if (preferredValid && leadsTo(preferred, target)) return preferred;
    for (int number = kFirst; number <= kLast; ++number) {
        if (leadsTo(number, target)) return number;
    }
    const auto free = [this](int number) {
        return !SerialDevices::exists(this->devicePath(number));
    };
    if (preferredValid && free(preferred)) return preferred;
    for (int number = kFirst; number <= kLast; ++number) {
        if (free(number)) return number;
    }
    return preferredValid ? preferred : kFirst;
}

void PortDirectory::assign(int portNumber, const QString& devicePath)
{
    m_settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(portNumber), devicePath.trimmed());
}
