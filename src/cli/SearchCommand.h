#pragma once

#include "cli/CliEnvironment.h"
#include "cli/CliOptions.h"

class BoardFinder;
class CliConsole;
class SettingsStore;

// detect --search: the board finder of the port settings window on every serial device
// present, in turn, with the window's stored lines. A device that another program holds is
// never opened. Names the first board, or says what each device did.
class SearchCommand {
public:
    SearchCommand(CliConsole& console, const CliOptions& options,
                  const CliEnvironment& environment);

    // Runs the search on the calling thread; returns the exit code.
    [[nodiscard]] int run(const SettingsStore& settings);
    // Ctrl+C: ends the search at its next wait. Call on the search's thread.
    void interrupt();

private:
    CliConsole& m_console;
    const CliOptions& m_options;
    const CliEnvironment& m_environment;
    BoardFinder* m_finder = nullptr;  // while run() runs
};
