#pragma once

#include <QString>

// Why a port did not open, as facts: the device, the system's own words, who holds it, and what
// is known of the user's groups. Each front-end words it, with what the user can do about it.
struct PortOpenFailure {
    enum class Kind { NotFound, PermissionDenied, InUse, Other };

    Kind kind = Kind::Other;
    int portNumber = 0;
    QString devicePath;
    QString systemReason;  // the system's words, e.g. "Permission denied"
    QString holder;        // InUse: the program that has the port, "minicom (PID 1234)", if known
    QString deviceGroup;   // the group that owns the device, when known
    QString userName;      // who runs the program, for the command that adds them to the group
    bool memberNotYetActive = false;  // already in the group, but not in this login
};
