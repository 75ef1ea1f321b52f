#include "link/PortClaim.h"

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
    if (m_lock->isLocked() || m_lock->tryLock(0)) return true;
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_unusable = true;
        return false;
    }
    QString host;
    if (!m_lock->getLockInfo(&m_holderPid, &host, &m_holderProgram)) m_holderPid = 0;
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
