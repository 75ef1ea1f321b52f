#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QFile>

#include <csignal>

SimProcess::SimProcess(const QStringList& arguments)
{
    m_process.setProgram(QStringLiteral(VORLE_SIM_PROGRAM));
    m_process.setArguments(arguments + QStringList{QStringLiteral("--log"), pathFor("line.log")});
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    // Generous: the machine may be busy building.
    const QDeadlineTimer deadline(20000);
    while (!m_process.canReadLine() && !deadline.hasExpired() &&
           m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(
            static_cast<int>(std::min<qint64>(deadline.remainingTime(), 200)));
    }
    if (m_process.canReadLine()) {
        m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    } else {
        m_process.waitForFinished(1000);
        m_errorText = QString::fromLocal8Bit(m_process.readAllStandardError());
    }
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) stop();
}

bool SimProcess::isRunning() const
{
    return !m_devicePath.isEmpty() && m_process.state() == QProcess::Running;
}

void SimProcess::powerCycle()
{
    if (m_process.state() == QProcess::Running) {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGUSR1);
    }
}

int SimProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(20000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
            return -1;
        }
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

bool SimProcess::waitForExit(int milliseconds)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(milliseconds);
}

QStringList SimProcess::logLines() const
{
    QFile file(m_folder.filePath("line.log"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray SimProcess::logBytes(char direction) const
{
    QByteArray bytes;
    for (const QString& line : logLines()) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() < 3 || fields.at(1) != QLatin1Char(direction)) continue;
        bytes += QByteArray::fromHex(fields.mid(2).join(QString()).toLatin1());
    }
    return bytes;
}

QStringList SimProcess::events() const
{
    QStringList texts;
    for (const QString& line : logLines()) {
        if (line.section(QLatin1Char(' '), 1, 1) == QLatin1String("#")) {
            texts.append(line.section(QLatin1Char(' '), 2));
        }
    }
    return texts;
}

QStringList SimProcess::shippedData()
{
    return {QStringLiteral("--data"), QStringLiteral(VORLE_DATA_FILE)};
}
