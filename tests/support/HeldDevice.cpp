#include "support/HeldDevice.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

HeldDevice::HeldDevice(const QString& devicePath)
{
    // The device is opened by the shell, in the child only, and kept by the sleep it becomes.
    m_process.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("exec sleep 60 <\"$0\""), devicePath});
    if (!m_process.waitForStarted(10000)) return;
    const QDeadlineTimer deadline(10000);
    const QString process = QStringLiteral("/proc/%1/").arg(m_process.processId());
    const auto command = [&] {
        QFile comm(process + QStringLiteral("comm"));
        return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
    };
    // Holding once the sleep has the device: until the exec the holder is still the shell.
    while (!m_holding && !deadline.hasExpired()) {
        if (QFile::symLinkTarget(process + QStringLiteral("fd/0")) == devicePath &&
            command() == "sleep") {
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
