#pragma once

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/JobSpec.h"
#include "cli/ParallelRunner.h"
#include "link/LinkSettings.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QIODevice;
class BoardFinder;
class LinkFactory;
class PortHolders;
class ProgressReport;
class SerialDevices;
class SettingsStore;
struct BoardResult;
struct CatalogueLoad;

// What vorle6-cli runs in: where its data file and port claims are, its three streams, and
// how it reaches the boards. main() hands in the real ones; tests hand in buffers and
// emulated boards in fake time.
struct CliEnvironment {
    QString appFolder;    // the program's folder: vorle6.ini is looked for there
    QString claimFolder;  // where the port claims are kept
    QIODevice* input = nullptr;
    QIODevice* output = nullptr;
    QIODevice* errors = nullptr;
    bool errorsAreTerminal = false;  // draw a progress bar rather than progress lines
    LinkFactory* links = nullptr;
    ParallelRunner::Mode mode = ParallelRunner::Mode::ThreadPerBoard;
    // The serial devices present and who holds them, for detect --search; none: the system's.
    const SerialDevices* devices = nullptr;
    const PortHolders* holders = nullptr;
};

// vorle6-cli from its arguments to its exit code: checks the command line, the part, the
// range, the files and the ports before anything is sent, runs the command on every board at
// once, writes what was read and says how each board did.
class CliProgram : public QObject {
    Q_OBJECT
public:
    explicit CliProgram(const CliEnvironment& environment);
    ~CliProgram() override;

    // Runs the command line `arguments` (the program name first); returns the exit code.
    [[nodiscard]] int run(const QStringList& arguments);

    // Ctrl+C: every board stops at its next chunk boundary and closes its port; a command not
    // yet begun does not begin.
    void interrupt();

private:
    // Each step returns the exit code to end with, or nothing to go on.
    [[nodiscard]] int list(const CatalogueLoad& load);
    [[nodiscard]] std::optional<int> choosePart(const CatalogueLoad& load, JobSpec& spec);
    [[nodiscard]] std::optional<int> readInput(JobSpec& spec);
    [[nodiscard]] std::optional<int> checkOutput(const JobSpec& spec,
                                                 const QList<LinkSettings>& links);
    [[nodiscard]] int runBoards(const JobSpec& spec, const QList<LinkSettings>& links);
    [[nodiscard]] int searchBoard(const SettingsStore& settings);
    void writeOutputs(QList<BoardResult>& results);
    void report(const QList<BoardResult>& results);
    void noticeCatalogueProblems(const CatalogueLoad& load);
    [[nodiscard]] QString outputPathFor(const LinkSettings& link) const;

    CliEnvironment m_environment;
    CliConsole m_console;
    CliOptions m_options;
    ImageFormat m_outputFormat = ImageFormat::Binary;
    ParallelRunner* m_runner = nullptr;    // while the boards run
    ProgressReport* m_progress = nullptr;  // while the boards run
    BoardFinder* m_finder = nullptr;       // while detect --search runs
    bool m_interrupted = false;
};
