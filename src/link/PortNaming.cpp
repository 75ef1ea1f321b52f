#include "link/PortNaming.h"

#include "link/SerialPort.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {

// "3" or "COM3" (any case) -> 3; nothing for a device path.
std::optional<int> portNumberIn(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(?:[Cc][Oo][Mm])?([0-9]+)$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    bool ok = false;
    const int value = match.captured(1).toInt(&ok);
    return ok ? value : -1;
}

}  // namespace

PortNaming portNamed(const QString& text, const SettingsStore& settings)
{
    PortNaming naming;
    if (const std::optional<int> number = portNumberIn(text)) {
        if (*number < SerialPort::kFirstPortNumber || *number > SerialPort::kLastPortNumber) {
            naming.problem = PortNaming::Problem::NoSuchNumber;
            return naming;
        }
        naming.link = LinkSettings::forPort(*number, settings);
        return naming;
    }
    const QString device = text.trimmed();
    if (device.isEmpty()) {
        naming.problem = PortNaming::Problem::Empty;
        return naming;
    }
    naming.link = LinkSettings::stored(settings);
    naming.link.portNumber = 0;
    naming.link.devicePath = device.contains(QLatin1Char('/'))
                                 ? QFileInfo(device).absoluteFilePath()
                                 : QStringLiteral("/dev/") + device;
    return naming;
}

QString deviceIdentity(const QString& devicePath)
{
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(devicePath).absoluteFilePath() : canonical;
}
