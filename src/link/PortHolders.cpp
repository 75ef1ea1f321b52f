#include "link/PortHolders.h"

#include "link/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

#include <climits>
#include <cstring>

namespace {

constexpr qint64 kLockFileLimit = 256;  // a lock file holds a process number and a few names

// The lock file name Qt Serial Port uses: the path below /dev, with '/' written as '_'.
QString qtLockName(const QString& path)
{
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0) return false;
    // EPERM: the process runs but belongs to someone else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return true;
#endif
}

// The program file a process runs; empty for another user's process.
QString executable(qint64 pid)
{
    return QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
}

QString programName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) return {};
    const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
    // The system keeps 15 characters of the name; the program file has all of it.
    const QString file = QFileInfo(executable(pid)).fileName();
    return file.size() > name.size() && file.startsWith(name) ? file : name;
}

// The process number a lock file records: ASCII (Qt's QLockFile writes it on the first line,
// UUCP-style programs pad it to ten characters), or a raw 4-byte number from old programs.
struct LockPid {
    qint64 pid = 0;
    bool text = false;
};

std::optional<LockPid> lockFilePid(const QByteArray& contents)
{
    const QByteArray firstLine = contents.left(contents.indexOf('\n')).trimmed();
    bool ok = false;
    const qint64 pid = firstLine.toLongLong(&ok);
    if (ok) return LockPid{pid, true};
    if (contents.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, contents.constData(), sizeof binary);
        return LockPid{binary, false};
    }
    return std::nullopt;
}

// Whether the device may be a terminal, the only kind of device a port is. The system names the
// class of each registered character device; pseudo-terminals are not registered and may be.
bool mayBeTerminal(const QString& node)
{
#ifdef Q_OS_LINUX
    struct stat status {};
    if (::stat(node.toLocal8Bit().constData(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        return true;
    }
    const QString subsystem = QFile::symLinkTarget(QStringLiteral("/sys/dev/char/%1:%2/subsystem")
                                                       .arg(major(status.st_rdev))
                                                       .arg(minor(status.st_rdev)));
    return subsystem.isEmpty() || QFileInfo(subsystem).fileName() == QLatin1String("tty");
#else
    Q_UNUSED(node);
    return true;
#endif
}

}  // namespace

PortHolders::PortHolders()
    : m_lockFolders{QStringLiteral("/var/lock"),
                    QStringLiteral("/run/lock"),
                    QStringLiteral("/var/lock/lockdev"),
                    QStringLiteral("/etc/locks"),
                    QStringLiteral("/var/spool/locks"),
                    QStringLiteral("/var/spool/uucp"),
                    QStringLiteral("/tmp"),
                    QStringLiteral("/var/tmp"),
                    QStandardPaths::writableLocation(QStandardPaths::TempLocation)},
      m_aliasFolders{SerialDevices::kStableFolder, QStringLiteral("/dev/serial/by-path")}
{
    m_lockFolders.removeDuplicates();
}

std::optional<PortHolders::Holder> PortHolders::holderOf(const QString& devicePath) const
{
    const QString node = SerialDevices::resolved(devicePath);
    // Every program has /dev/null open: such a device is no port, and its open fails on its own.
    if (!mayBeTerminal(node)) return std::nullopt;
    for (const QString& folder : m_lockFolders) {
        for (const QString& name : lockNames(devicePath, node)) {
            const QString lockFile = QDir(folder).filePath(name);
            if (!QFileInfo::exists(lockFile)) continue;
            if (std::optional<Holder> holder = lockFileHolder(lockFile)) return holder;
        }
    }
    return processHolder(node);
}

QStringList PortHolders::lockNames(const QString& devicePath, const QString& node) const
{
    QStringList names{qtLockName(devicePath), qtLockName(node),
                      QStringLiteral("LCK..") + QFileInfo(node).fileName()};
    for (const QString& folder : m_aliasFolders) {
        const QFileInfoList links =
            QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
        for (const QFileInfo& link : links) {
            if (link.isSymLink() && link.canonicalFilePath() == node) {
                names.append(qtLockName(link.absoluteFilePath()));
            }
        }
    }
#ifdef Q_OS_UNIX
    // lockdev also names the lock after the device numbers.
    struct stat status {};
    if (::stat(node.toLocal8Bit().constData(), &status) == 0 && S_ISCHR(status.st_mode)) {
        names.append(QStringLiteral("LCK.%1.%2")
                         .arg(major(status.st_rdev), 3, 10, QLatin1Char('0'))
                         .arg(minor(status.st_rdev), 3, 10, QLatin1Char('0')));
    }
#endif
    names.removeDuplicates();
    return names;
}

std::optional<PortHolders::Holder> PortHolders::lockFileHolder(const QString& lockFile) const
{
    QFile file(lockFile);
    Holder holder;
    holder.lockFile = lockFile;
    // A lock file that cannot be read or names no process is taken at its word: the port is
    // held. One whose process has ended is left from a crash and holds nothing.
    if (!file.open(QIODevice::ReadOnly)) return holder;
    const QByteArray contents = file.read(kLockFileLimit);
    const std::optional<LockPid> lock = lockFilePid(contents);
    if (!lock) return holder;
    const qint64 pid = lock->pid;
    if (!processRuns(pid)) return std::nullopt;
    // Qt's lock names the program on its second line. A running process by another name has
    // been given the number of one that ended, and Qt itself takes such a lock as stale. A
    // binary number has no lines: a 0x0A byte in it starts none.
    const QString lockProgram =
        lock->text
            ? QFileInfo(QString::fromLocal8Bit(contents.split('\n').value(1)).trimmed()).fileName()
            : QString();
    const QString runningProgram = QFileInfo(executable(pid)).fileName();
    if (!lockProgram.isEmpty() && !runningProgram.isEmpty() && lockProgram != runningProgram) {
        return std::nullopt;
    }
    holder.pid = pid;
    holder.program = programName(pid);
    return holder;
}

std::optional<PortHolders::Holder> PortHolders::processHolder(const QString& node)
{
#ifdef Q_OS_LINUX
    // Runs before every open of a port: plain directory reads and readlink() calls, since the
    // file classes' listings and link lookups cost several times as much on a busy machine.
    const QByteArray wanted = node.toLocal8Bit();
    struct stat status {};
    if (::stat(wanted.constData(), &status) != 0) return std::nullopt;
    DIR* processes = ::opendir("/proc");
    if (!processes) return std::nullopt;
    std::optional<Holder> found;
    while (!found) {
        const dirent* process = ::readdir(processes);
        if (!process) break;
        if (process->d_name[0] < '1' || process->d_name[0] > '9') continue;
        const QByteArray fdFolder = QByteArray("/proc/") + process->d_name + "/fd";
        // Processes of other users cannot be looked into: their folder does not open.
        DIR* fds = ::opendir(fdFolder.constData());
        if (!fds) continue;
        while (const dirent* fd = ::readdir(fds)) {
            if (fd->d_name[0] == '.') continue;
            const QByteArray link = fdFolder + '/' + fd->d_name;
            char target[PATH_MAX];
            const ssize_t length = ::readlink(link.constData(), target, sizeof target);
            if (length == wanted.size() && std::memcmp(target, wanted.constData(), length) == 0) {
                Holder holder;
                holder.pid = QByteArray(process->d_name).toLongLong();
                holder.program = programName(holder.pid);
                found = holder;
                break;
            }
        }
        ::closedir(fds);
    }
    ::closedir(processes);
    return found;
#else
    Q_UNUSED(node);
    return std::nullopt;
#endif
}

QString PortHolders::describe(const Holder& holder)
{
    if (holder.pid <= 0) return holder.lockFile;
    const QString pid = QStringLiteral("PID %1").arg(holder.pid);
    return holder.program.isEmpty() ? pid : QStringLiteral("%1 (%2)").arg(holder.program, pid);
}
