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

    [[nodiscard]] QString text() const;
};
