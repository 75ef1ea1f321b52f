#pragma once

#include "cli/CliConsole.h"
#include "cli/CliEnvironment.h"
#include "cli/RunArguments.h"
#include "production/LineDatabaseAddress.h"

#include <QObject>
#include <QStringList>

class KeyWait;
class ProgressReport;
class RoundRunner;
struct RoundResult;

// vorle6-cli run: a production job into a chip on every listed board at once, each chip with
// numbers of its own from the line database, verified and recorded; with --loop round after
// round until Ctrl+C or the end of the input. Everything that can be refused is refused before
// any board is touched: the job file, the ports, their claims (held for the whole run) and the
// line database (a connection per board thread).
class RunCommand : public QObject {
    Q_OBJECT
public:
    RunCommand(const CliEnvironment& environment, CliConsole& console)
        : m_environment(environment), m_console(console)
    {
    }

    // Runs the command line `arguments` (the program name first); returns the exit code.
    [[nodiscard]] int run(const QStringList& arguments);

    // Ctrl+C or SIGTERM: the first ends the run after the round in progress, recording it (at
    // once while it waits for the next round); the second stops the running writes at their
    // next block.
    void interrupt();

private:
    // Runs rounds until done; returns the highest exit code among them.
    [[nodiscard]] int runRounds(RoundRunner& runner, const QStringList& boardNames, bool verify);
    void report(const RoundResult& result, bool verify);
    [[nodiscard]] QString keyName() const;

    CliEnvironment m_environment;
    CliConsole& m_console;
    RunOptions m_options;
    LineDatabaseAddress m_address;
    RoundRunner* m_runner = nullptr;       // while the boards are open
    KeyWait* m_keys = nullptr;             // while the rounds run
    ProgressReport* m_progress = nullptr;  // while a round runs
    int m_interrupts = 0;
    int m_passed = 0;
    int m_failed = 0;
};
