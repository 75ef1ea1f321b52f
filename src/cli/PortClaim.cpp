#include "cli/PortClaim.h"

#include <QDir>
#include <QFileInfo>

PortClaim::PortClaim(const QString& folder, const QString& devicePath)
    : m_lock(std::make_unique<QLockFile>(lockPath(folder, devicePath)))
{
    // A claim is stale only when its owner no longer runs, however long it has been held.
    m_lock->setStaleLockTime(0);
}

bool PortClaim::acquire()
{
    if (m_lock->tryLock(0)) return true;
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_holder = QStringLiteral("the claim file %1 cannot be made").arg(m_lock->fileName());
        return false;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application)) {
        m_holder = QStringLiteral("%1, process %2")
                       .arg(application.isEmpty() ? QStringLiteral("a program") : application)
                       .arg(pid);
    } else {
        m_holder = QStringLiteral("another program");
    }
    return false;
}

QString PortClaim::defaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) return runtime;
    return QDir::tempPath();
}

QString PortClaim::lockPath(const QString& folder, const QString& devicePath)
{
    const QFileInfo device(devicePath);
    QString identity = device.canonicalFilePath();
    if (identity.isEmpty()) identity = device.absoluteFilePath();
    identity.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(folder).filePath(QStringLiteral("vorle6-port%1.lock").arg(identity));
}
