#pragma once

#include <QString>

// Why a port did not open, turned into the detail text that the port settings window shows
// under its fixed message: the device, the system's own words, and what the user can do.
struct PortOpenFailure {
    enum class Kind { NotFound, PermissionDenied, InUse, Other };

    Kind kind = Kind::Other;
    int portNumber = 0;
    QString devicePath;
    QString systemReason;  // the system's words, e.g. "Permission denied"
    QString deviceGroup;   // the group that owns the device, when known
    QString userName;      // who runs the program, for the command that adds them to the group
    bool memberNotYetActive = false;  // already in the group, but not in this login

    [[nodiscard]] QString text() const;

    // `text` without the leading "COM3 (/dev/ttyUSB2): " or "/dev/ttyUSB2: " that names the
    // device, for a place that names the device already.
    [[nodiscard]] static QString withoutDevice(const QString& text, int portNumber,
                                               const QString& devicePath);
};
