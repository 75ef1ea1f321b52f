#pragma once

class DesktopOpener;
class LinkClock;
class LinkFactory;
class SerialPort;
class SettingsStore;
class UserDialogs;
struct ProgramState;

// What the windows and their controllers share: the program-wide state and the services
// that stand between the logic and the platform. Tests hand in their own dialogs, opener, port
// and clock.
struct AppServices {
    ProgramState& state;
    SettingsStore& settings;
    UserDialogs& dialogs;
    DesktopOpener& desktop;
    // The line to the board and its clock; none: the program's serial port and steady clock.
    SerialPort* port = nullptr;
    LinkClock* clock = nullptr;
    // The production window's boards, each a port and a clock of its own; none: the system's
    // serial ports and the steady clock.
    LinkFactory* links = nullptr;
};
