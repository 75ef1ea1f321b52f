#include "cli/PortChoice.h"

#include "cli/CliOptions.h"
#include "link/PortNaming.h"
#include "link/SerialPort.h"

#include <QFileInfo>

PortChoice choosePorts(const CliOptions& options, const SettingsStore& settings)
{
    PortChoice choice;
    if (options.ports.isEmpty()) {
        choice.links.append(LinkSettings::stored(settings));
    }
    for (const QString& port : options.ports) {
        const PortNaming naming = portNamed(port, settings);
        switch (naming.problem) {
            case PortNaming::Problem::None:
                choice.links.append(naming.link);
                continue;
            case PortNaming::Problem::NoSuchNumber:
                choice.error = QStringLiteral(
                                   "port %1 does not exist: ports are numbered %2 to "
                                   "%3, or give a device path")
                                   .arg(port)
                                   .arg(SerialPort::kFirstPortNumber)
                                   .arg(SerialPort::kLastPortNumber);
                break;
            case PortNaming::Problem::Empty:
                choice.error = QStringLiteral("-p needs a port number or a device path");
                break;
        }
        choice.links.clear();
        return choice;
    }
    for (LinkSettings& link : choice.links) {
        if (options.rts) link.rts = *options.rts;
        if (options.dtr) link.dtr = *options.dtr;
    }
    for (int i = 0; i < choice.links.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (deviceIdentity(choice.links.at(i).devicePath) !=
                deviceIdentity(choice.links.at(j).devicePath)) {
                continue;
            }
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
