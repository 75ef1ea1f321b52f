#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A qzpgm-sim board for a screenshot tool: started with `arguments`, its device read from the
// first line it prints, stopped (SIGTERM) when it goes out of scope.
class SimBoard {
public:
    SimBoard(const QString& program, const QStringList& arguments)
    {
        m_process.start(program, arguments);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(kStartMilliseconds)) {
        }
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimBoard()
    {
        m_process.terminate();
        m_process.waitForFinished(kStopMilliseconds);
    }
    SimBoard(const SimBoard&) = delete;
    SimBoard& operator=(const SimBoard&) = delete;

    // Empty when the emulator did not start.
    [[nodiscard]] QString device() const { return m_device; }

private:
    static constexpr int kStartMilliseconds = 10000;
    static constexpr int kStopMilliseconds = 5000;

    QProcess m_process;
    QString m_device;
};
