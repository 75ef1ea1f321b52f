#pragma once

class DesktopOpener;
class SettingsStore;
class UserDialogs;
struct ProgramState;

// What the windows and their controllers share: the program-wide state and the services
// that stand between the logic and the platform. Tests hand in their own dialogs and opener.
struct AppServices {
    ProgramState& state;
    SettingsStore& settings;
    UserDialogs& dialogs;
    DesktopOpener& desktop;
};
