#pragma once

#include "link/LinkSettings.h"

#include <QString>

class SettingsStore;

// A port as a person names it, in the command line's -p or the production window's port
// list: a port number 1 to 20, mapped as the window maps it ([Ports] overrides included),
// "COM3" (any case), or a device. A bare name ("ttyUSB0") is a device under /dev; a path with
// a "/" is taken from the current folder. Either way the port gets the stored RTS and DTR lines.
struct PortNaming {
    enum class Problem {
        None,
        Empty,         // nothing but spaces
        NoSuchNumber,  // a number outside 1 to 20
    };

    Problem problem = Problem::None;
    LinkSettings link;  // when there is no problem
};

[[nodiscard]] PortNaming portNamed(const QString& text, const SettingsStore& settings);

// The device behind `devicePath` however it is named (a link and its target, "1" and
// /dev/ttyUSB0 compare equal): two ports of the same identity are one board.
[[nodiscard]] QString deviceIdentity(const QString& devicePath);
