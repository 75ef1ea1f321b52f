#pragma once

#include <QString>

class SettingsStore;

// Which line an access uses and how its control lines stand. Every access takes one by value:
// the window resolves it from the stored port settings, the command line from its arguments.
struct LinkSettings {
    int portNumber = 0;  // the port settings' number 1 to 20; 0 when a device was named directly
    QString devicePath;  // the system device that is opened
    bool rts = true;
    bool dtr = false;

    // "COM3" for a numbered port, else the device path: how the status texts name the port.
    [[nodiscard]] QString portName() const;

    // Port `portNumber` as the settings map it ([Ports] overrides included), with the stored
    // RTS and DTR lines.
    [[nodiscard]] static LinkSettings forPort(int portNumber, const SettingsStore& settings);
    // The port chosen in the port settings window (ComNo), with the stored lines.
    [[nodiscard]] static LinkSettings stored(const SettingsStore& settings);
};
