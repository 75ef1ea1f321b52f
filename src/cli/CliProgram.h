#pragma once

#include "cli/CliConsole.h"
#include "cli/CliEnvironment.h"
#include "cli/CliOptions.h"
#include "cli/ImageFile.h"
#include "cli/JobOrder.h"
#include "cli/ParallelRunner.h"
#include "devices/DeviceCatalogue.h"
#include "files/ImageByteOrder.h"
#include "link/LinkSettings.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QIODevice;
class ProgressReport;
class RunCommand;
class SearchCommand;
class StreamReader;
struct BoardResult;
struct CatalogueLoad;

// vorle6-cli from its arguments to its exit code: checks the command line, the part, the
// range, the files and the ports before anything is sent, runs the command on every board at
// once, writes what was read and says how each board did.
class CliProgram : public QObject {
    Q_OBJECT
public:
    explicit CliProgram(const CliEnvironment& environment);
    ~CliProgram() override;

    // Runs the command line `arguments` (the program name first); returns the exit code. With
    // --json, standard output gets a JSON result whatever happens: a command that ends before
    // any board gave one gives one of its own.
    [[nodiscard]] int run(const QStringList& arguments);

    // Ctrl+C: every board stops at its next chunk boundary and closes its port; a command not
    // yet begun does not begin.
    void interrupt();

private:
    [[nodiscard]] int runCommand(const QStringList& arguments);
    // Each step returns the exit code to end with, or nothing to go on.
    [[nodiscard]] int list(const CatalogueLoad& load);
    [[nodiscard]] std::optional<int> choosePart(const CatalogueLoad& load, JobOrder& order);
    [[nodiscard]] std::optional<int> readInput(JobOrder& order);
    // "-i -": nothing, after saying why, when it cannot be read or Ctrl+C ended the wait.
    [[nodiscard]] std::optional<CliImageLoad> readStandardInput(ImageFileFormat format,
                                                                qint64 partSize);
    [[nodiscard]] std::optional<int> checkOutput(const JobOrder& order,
                                                 const QList<LinkSettings>& links);
    // Whether Ctrl+C came before the boards start, after saying so.
    [[nodiscard]] bool interruptedBeforeSending();
    [[nodiscard]] int runBoards(const JobOrder& order, const QList<LinkSettings>& links);
    void writeOutputs(QList<BoardResult>& results);
    void report(const QList<BoardResult>& results);
    void noticeCatalogueProblems(const CatalogueLoad& load);
    [[nodiscard]] QString outputPathFor(const LinkSettings& link) const;
    // The order of the bytes in image files: --swap16 swaps them in pairs.
    [[nodiscard]] ImageByteOrder byteOrder() const;

    CliEnvironment m_environment;
    CliConsole m_console;
    CliOptions m_options;
    DeviceCatalogue m_catalogue;  // the parts a file that does not fit may be meant for
    ImageFileFormat m_outputFormat = ImageFileFormat::Binary;
    ParallelRunner* m_runner = nullptr;    // while the boards run
    ProgressReport* m_progress = nullptr;  // while the boards run
    SearchCommand* m_search = nullptr;     // while detect --search runs
    RunCommand* m_run = nullptr;           // while run runs
    StreamReader* m_input = nullptr;       // while standard input is read
    bool m_interrupted = false;
};
