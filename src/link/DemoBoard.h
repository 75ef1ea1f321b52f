#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>

// The board emulator (qzpgm-sim beside the program) as the board of a run without one: started
// with a part holding a sample image, on a pseudo-terminal of its own, and ended (SIGTERM, the
// emulator removes what it made) when this object goes, or with the program should that end
// any other way. The sample image lives in a temporary folder of this object's.
class DemoBoard {
public:
    // What kept the emulator from serving a board.
    enum class Problem {
        None,
        ProgramMissing,  // no emulator program at the path (detail: the path)
        NotStarted,      // the system could not start it (detail: its reason)
        Ended,           // it ended at once (detail: what it said, e.g. no pseudo-terminals)
        NoDevice,        // it named no device in time
        NoImage,         // the sample image could not be written (detail: the reason)
    };

    // How long the emulator may take to name its device.
    static constexpr auto kStartLimit = std::chrono::seconds{10};
    // How long it may take to end once asked to.
    static constexpr auto kStopLimit = std::chrono::seconds{5};

    DemoBoard() = default;
    ~DemoBoard();
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    // Starts `program` with the part `part` of the data file `dataFile`, holding
    // sampleImage(size). On success devicePath() is the device to open.
    [[nodiscard]] Problem start(const QString& program, const QString& dataFile,
                                const QString& part, qint64 size);
    [[nodiscard]] const QString& devicePath() const { return m_devicePath; }
    // The path, the system's reason or the emulator's own words behind a problem.
    [[nodiscard]] const QString& detail() const { return m_detail; }
    [[nodiscard]] bool running() const { return m_process.state() == QProcess::Running; }

    // A part that looks like a real one: a text block, a table and blank space.
    [[nodiscard]] static QByteArray sampleImage(qint64 size);

private:
    Problem fail(Problem problem, const QString& detail);
    void stop();

    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_devicePath;
    QString m_detail;
};
