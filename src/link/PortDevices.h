#pragma once

#include <QString>

class SettingsStore;

// Which system device a port number (1 to 20) stands for.
//
// On Linux port n is /dev/ttyUSB<n-1>: USB serial adapters, the usual way the programmer board
// attaches, are numbered from 0 in the order they were plugged in, so the first adapter is
// port 1. The settings store can point any port elsewhere: section "Ports", key "COM<n>", value
// a device path (for example /dev/ttyS0, /dev/ttyACM0, /dev/serial/by-id/..., or the link made
// by the board emulator). On Windows port n is COMn.
class PortDevices {
public:
    explicit PortDevices(const SettingsStore& settings) : m_settings(settings) {}

    [[nodiscard]] QString devicePath(int portNumber) const;

    // The rule without overrides.
    [[nodiscard]] static QString defaultDevicePath(int portNumber);

private:
    const SettingsStore& m_settings;
};

namespace SettingsKeys {
inline const QString kPorts = QStringLiteral("Ports");
// "COM3": the key of port 3 in section "Ports".
[[nodiscard]] inline QString portKey(int portNumber)
{
    return QStringLiteral("COM") + QString::number(portNumber);
}
}  // namespace SettingsKeys
