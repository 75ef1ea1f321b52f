#include "base/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

InstanceLock::InstanceLock(const QString& path) : m_lock(path)
{
    // A lock is stale only when its owner no longer runs, however long it has been held.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    // tryLock takes over a lock whose owner process no longer runs.
    if (m_lock.tryLock(0)) return true;
    if (m_lock.error() == QLockFile::LockFailedError) return false;
    // The folder is not writable or similar: run rather than refuse to start.
    return true;
}

QString InstanceLock::defaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QStringLiteral("/vorle6.lock");
    return QDir::tempPath() + QStringLiteral("/vorle6-%1.lock").arg(getuid());
}
