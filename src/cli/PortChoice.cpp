#include "cli/PortChoice.h"

#include "cli/CliOptions.h"
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

// Two names of one device (a link and its target, "1" and /dev/ttyUSB0) compare equal.
QString identityOf(const LinkSettings& link)
{
    const QString canonical = QFileInfo(link.devicePath).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(link.devicePath).absoluteFilePath() : canonical;
}

}  // namespace

PortChoice choosePorts(const CliOptions& options, const SettingsStore& settings)
{
    PortChoice choice;
    if (options.ports.isEmpty()) {
        choice.links.append(LinkSettings::stored(settings));
    }
    for (const QString& port : options.ports) {
        const std::optional<int> number = portNumberIn(port);
        if (number) {
            if (*number < SerialPort::kFirstPortNumber || *number > SerialPort::kLastPortNumber) {
                choice.links.clear();
                choice.error = QStringLiteral(
                                   "port %1 does not exist: ports are numbered %2 to "
                                   "%3, or give a device path")
                                   .arg(port)
                                   .arg(SerialPort::kFirstPortNumber)
                                   .arg(SerialPort::kLastPortNumber);
                return choice;
            }
            choice.links.append(LinkSettings::forPort(*number, settings));
            continue;
        }
        if (port.trimmed().isEmpty()) {
            choice.links.clear();
            choice.error = QStringLiteral("-p needs a port number or a device path");
            return choice;
        }
        // A device named directly gets the stored lines like a numbered one. A bare name is a
        // device under /dev, as serial ports are usually named ("ttyUSB0").
        LinkSettings link = LinkSettings::stored(settings);
        link.portNumber = 0;
        link.devicePath = port.contains(QLatin1Char('/')) ? QFileInfo(port).absoluteFilePath()
                                                          : QStringLiteral("/dev/") + port;
        choice.links.append(link);
    }
    for (LinkSettings& link : choice.links) {
        if (options.rts) link.rts = *options.rts;
        if (options.dtr) link.dtr = *options.dtr;
    }
    for (int i = 0; i < choice.links.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (identityOf(choice.links.at(i)) != identityOf(choice.links.at(j))) continue;
            choice.error = QStringLiteral(
                               "%1 and %2 are the same device (%3): a port serves one "
                               "board at a time")
                               .arg(options.ports.value(j), options.ports.value(i),
                                    choice.links.at(i).devicePath);
            choice.links.clear();
            return choice;
        }
    }
    return choice;
}

QString portShortName(const LinkSettings& link)
{
    const QString name = QFileInfo(link.devicePath).fileName();
    return name.isEmpty() ? link.portName() : name;
}
