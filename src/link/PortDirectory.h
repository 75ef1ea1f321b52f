#pragma once

#include "link/LinkSettings.h"
#include "link/SerialDevice.h"

#include <QList>
#include <QString>

class SettingsStore;

// The port numbers 1 to 20 and the devices behind them, for finding and choosing a port: what
// a number stands for, which devices a board search asks, and which number a device found
// elsewhere gets. A choice is stored as the window's settings are, under [Ports] COM<n>.
class PortDirectory {
public:
    PortDirectory(SettingsStore& settings, const QList<SerialDevice>& present);

    [[nodiscard]] QString devicePath(int portNumber) const;
    // Whether [Ports] points the number somewhere of its own.
    [[nodiscard]] bool isOverridden(int portNumber) const;
    [[nodiscard]] SerialDevice device(int portNumber) const;

    // The devices a board search asks, each once, with the stored RTS and DTR lines: `first`'s
    // device, the other numbers' devices that exist in number order, then the present devices
    // no number leads to (port number 0).
    [[nodiscard]] QList<LinkSettings> searchOrder(int first) const;

    // The number a device gets: one that already leads to it (`preferred` first); else
    // `preferred` when nothing is there, else the lowest number that leads nowhere. A number
    // whose device exists is never taken from it.
    [[nodiscard]] int numberFor(const QString& devicePath, int preferred) const;

    // Points `portNumber` at `devicePath` ([Ports] COM<n>); an empty path returns it to the
    // usual device.
    void assign(int portNumber, const QString& devicePath);

private:
    [[nodiscard]] bool leadsTo(int portNumber, const QString& resolvedPath) const;

    SettingsStore& m_settings;
    QList<SerialDevice> m_present;
};
