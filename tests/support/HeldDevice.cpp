#include "support/HeldDevice.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

HeldDevice::HeldDevice(const QString& devicePath)
{
    // The device is opened by the shell, in the child only, and kept by the sleep it becomes.
    m_process.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("exec sleep 60 <\"$0\""), devicePath});
    if (!m_process.waitForStarted(10000)) return;
    const QDeadlineTimer deadline(10000);
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(m_process.processId()));
    while (!m_holding && !deadline.hasExpired()) {
        if (QFile::symLinkTarget(fds.filePath(QStringLiteral("0"))) == devicePath) {
            m_holding = true;
        } else {
            QThread::msleep(2);
        }
    }
}

HeldDevice::~HeldDevice()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}
