#include "link/DemoBoard.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <csignal>

#include <sys/prctl.h>
#endif

namespace {

constexpr qint64 kTextEnd = 0x100;
constexpr qint64 kTableEnd = 0x400;

}  // namespace

DemoBoard::~DemoBoard() { stop(); }

QByteArray DemoBoard::sampleImage(qint64 size)
{
    QByteArray bytes(size, '\xFF');
    const QByteArray text = "VORLE6 demo board: qzpgm-sim with a sample image. ";
    for (qint64 i = 0; i < std::min(size, kTextEnd); ++i) bytes[i] = text.at(i % text.size());
    for (qint64 i = kTextEnd; i < std::min(size, kTableEnd); ++i) {
        bytes[i] = static_cast<char>((i * 7) & 0xFF);
    }
    return bytes;
}

DemoBoard::Problem DemoBoard::fail(Problem problem, const QString& detail)
{
    m_detail = detail.trimmed();
    m_devicePath.clear();
    stop();
    return problem;
}

DemoBoard::Problem DemoBoard::start(const QString& program, const QString& dataFile,
                                    const QString& part, qint64 size)
{
    const QFileInfo programFile(program);
    if (!programFile.isFile() || !programFile.isExecutable()) {
        return fail(Problem::ProgramMissing, program);
    }
    const QString imagePath = m_folder.filePath(QStringLiteral("sample.bin"));
    QSaveFile image(imagePath);
    const QByteArray sample = sampleImage(size);
    if (!m_folder.isValid() || !image.open(QIODevice::WriteOnly) ||
        image.write(sample) != sample.size() || !image.commit()) {
        return fail(Problem::NoImage,
                    m_folder.isValid() ? image.errorString() : m_folder.errorString());
    }
    m_process.setProgram(program);
    m_process.setArguments({QStringLiteral("--data"), dataFile, QStringLiteral("--device"), part,
                            QStringLiteral("--image"), imagePath});
#ifdef Q_OS_LINUX
    // The emulator ends with the program, however the program ends.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    m_process.start();
    if (!m_process.waitForStarted(
            static_cast<int>(std::chrono::milliseconds(kStartLimit).count()))) {
        return fail(Problem::NotStarted, m_process.errorString());
    }
    const QDeadlineTimer deadline(kStartLimit);
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running &&
           !deadline.hasExpired()) {
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    if (m_process.canReadLine()) {
        m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        if (!m_devicePath.isEmpty()) return Problem::None;
    }
    if (m_process.state() != QProcess::Running) {
        m_process.waitForFinished(static_cast<int>(std::chrono::milliseconds(kStopLimit).count()));
        return fail(Problem::Ended, QString::fromLocal8Bit(m_process.readAllStandardError()));
    }
    return fail(Problem::NoDevice, QString());
}

void DemoBoard::stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(
            static_cast<int>(std::chrono::milliseconds(kStopLimit).count()))) {
        m_process.kill();
        m_process.waitForFinished(static_cast<int>(std::chrono::milliseconds(kStopLimit).count()));
    }
}
