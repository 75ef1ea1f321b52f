#pragma once

#include "link/DemoBoard.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class MainWindow;
class SettingsStore;
struct ProgramState;

// `vorle6 --demo`: the window on the board emulator, so that someone without a board sees the
// program at work at once. The emulator beside the program is started with a sample image in
// the demo part, this run's port (the one the port settings window has chosen) is pointed at
// it and the part selected, so that Block Read works on the first click. Nothing of this
// reaches the settings file: the port's device, the device and the access size are held for
// this run only. The emulator ends with the window.
class DemoRun {
    Q_DECLARE_TR_FUNCTIONS(DemoRun)
public:
    // The part the emulated board holds.
    static constexpr const char* kPart = "24C64";

    // "--demo" on a command line (the program first), before any "--".
    [[nodiscard]] static bool requested(const QStringList& arguments);

    DemoRun(const ProgramState& state, SettingsStore& settings)
        : m_state(state), m_settings(settings)
    {
    }

    // Starts the emulator and points the main window at it. Empty when the demo board is
    // ready; else why not, for the start-up's notices (the window then starts as usual).
    [[nodiscard]] QString start(MainWindow& window);

    [[nodiscard]] const DemoBoard& board() const { return m_board; }

private:
    [[nodiscard]] static QString problemText(DemoBoard::Problem problem, const QString& detail);

    const ProgramState& m_state;
    SettingsStore& m_settings;
    DemoBoard m_board;
};
