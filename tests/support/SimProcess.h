#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A running qzpgm-sim for a test: started with `arguments` plus a line log in its own folder,
// stopped (SIGTERM) when it goes out of scope.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    // Started and reported its device.
    [[nodiscard]] bool isRunning() const;
    // The device the program opens; empty when the start failed.
    [[nodiscard]] QString devicePath() const { return m_devicePath; }
    [[nodiscard]] QString errorText() const { return m_errorText; }
    // A path in the emulator's own temporary folder.
    [[nodiscard]] QString pathFor(const QString& name) const { return m_folder.filePath(name); }

    // Sends SIGTERM and waits; the exit code, or -1 when it did not end normally.
    int stop();
    // Switches the board off and on (SIGUSR1).
    void powerCycle();
    // Waits for the emulator to end by itself; false on time-out.
    [[nodiscard]] bool waitForExit(int milliseconds = 20000);
    [[nodiscard]] int exitCode() const { return m_process.exitCode(); }

    // The log's lines.
    [[nodiscard]] QStringList logLines() const;
    // Everything the PC sent, and everything the board sent, in order.
    [[nodiscard]] QByteArray fromPc() const { return logBytes('>'); }
    [[nodiscard]] QByteArray fromBoard() const { return logBytes('<'); }
    // The "#" lines' texts.
    [[nodiscard]] QStringList events() const;

    // "--data <the shipped data file>": for tests that name a device.
    [[nodiscard]] static QStringList shippedData();

private:
    [[nodiscard]] QByteArray logBytes(char direction) const;

    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_devicePath;
    QString m_errorText;
};
