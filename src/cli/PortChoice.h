#pragma once

#include "link/LinkSettings.h"

#include <QList>
#include <QString>

class SettingsStore;
struct CliOptions;

// The boards one command runs on, as link settings: each -p is a port number 1 to 20, mapped
// as the window maps it ([Ports] overrides included), "COM3", or a device path; without -p the
// port chosen in the window. A bare name ("ttyUSB0") is a device under /dev; a path with a "/"
// is taken from the current folder. RTS and DTR are the window's unless --rts or --dtr say
// otherwise.
struct PortChoice {
    QList<LinkSettings> links;
    QString error;  // in English; no links then
};

[[nodiscard]] PortChoice choosePorts(const CliOptions& options, const SettingsStore& settings);

// The port's short name for file names and messages: "ttyUSB0" for /dev/ttyUSB0.
[[nodiscard]] QString portShortName(const LinkSettings& link);
