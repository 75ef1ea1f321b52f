#pragma once

#include "cli/CliConsole.h"
#include "cli/CliEnvironment.h"
#include "cli/ProductionArguments.h"
#include "production/JobPart.h"

#include <QStringList>

struct CatalogueLoad;

// vorle6-cli's production commands that touch no board: `job new` writes a job file from the
// options, `job check` reads one as a run would and says what it holds or what is wrong,
// `log` prints or exports the line database's log.
class ProductionCommand {
public:
    ProductionCommand(const CliEnvironment& environment, CliConsole& console)
        : m_environment(environment), m_console(console)
    {
    }

    // Runs the command line `arguments` (the program name first); returns the exit code.
    [[nodiscard]] int run(const QStringList& arguments);

private:
    [[nodiscard]] int newJob(const JobPartLookup& parts);
    [[nodiscard]] int checkJob(const JobPartLookup& parts);
    [[nodiscard]] int log();
    // --json: a command that touches no board ends well with one object.
    void jsonResult(const QString& operation, const QString& message);

    CliEnvironment m_environment;
    CliConsole& m_console;
    ProductionOptions m_options;
};
