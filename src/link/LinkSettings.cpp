#include "link/LinkSettings.h"

#include "base/SettingsStore.h"
#include "link/PortDevices.h"
#include "link/SerialPort.h"

QString LinkSettings::portName() const
{
    return portNumber > 0 ? QStringLiteral("COM") + QString::number(portNumber) : devicePath;
}

LinkSettings LinkSettings::forPort(int portNumber, const SettingsStore& settings)
{
    using namespace SettingsKeys;
    LinkSettings result;
    result.portNumber = portNumber;
    result.devicePath = PortDevices(settings).devicePath(portNumber);
    result.rts = settings.getSwitch(kSettings, kRts, true);
    result.dtr = settings.getSwitch(kSettings, kDtr, false);
    return result;
}

LinkSettings LinkSettings::stored(const SettingsStore& settings)
{
    using namespace SettingsKeys;
    const int index = settings.getIndex(kSettings, kComNo, 0, 0,
                                        SerialPort::kLastPortNumber - SerialPort::kFirstPortNumber);
    return forPort(index + SerialPort::kFirstPortNumber, settings);
}
