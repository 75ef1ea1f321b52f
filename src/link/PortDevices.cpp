#include "link/PortDevices.h"

#include "base/SettingsStore.h"

QString PortDevices::devicePath(int portNumber) const
{
    const QString stored =
        m_settings.get(SettingsKeys::kPorts, SettingsKeys::portKey(portNumber), QString())
            .trimmed();
    return stored.isEmpty() ? defaultDevicePath(portNumber) : stored;
}

QString PortDevices::defaultDevicePath(int portNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM") + QString::number(portNumber);
#else
    return QStringLiteral("/dev/ttyUSB") + QString::number(portNumber - 1);
#endif
}
