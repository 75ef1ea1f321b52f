#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Finds out whether another program holds a serial device, without opening it: opening a tty
// raises DTR and RTS, which can reset or confuse whatever the other program is talking to.
//
// Two signs count. A lock file in one of the usual lock folders whose process still runs: Qt
// Serial Port (this program included) writes "LCK..<path below /dev, '/' as '_'>" in the first
// writable folder of its list, minicom and lockdev "LCK..<node name>". And a running process
// with the device among its open files, read from /proc: that also catches programs that lock
// nothing, and it is what stands between root and a port held with TIOCEXCL, which stops every
// other user's open() but not root's. Processes of other users are not visible to a normal
// user; their exclusive ports still refuse the later open().
class PortHolders {
public:
    struct Holder {
        qint64 pid = 0;    // 0 when a lock file names no process that can be read
        QString program;   // the process's command name, when known
        QString lockFile;  // the lock file that gave it away, if any
    };

    PortHolders();

    // Tests replace the system folders with their own.
    void setLockFolders(const QStringList& folders) { m_lockFolders = folders; }
    // Folders of further names for the same device (/dev/serial/by-id, by-path): a program
    // that opened a device through such a link leaves its lock file under the link's name.
    void setAliasFolders(const QStringList& folders) { m_aliasFolders = folders; }
    // Who holds `devicePath` (a node or a link to one), or nothing when no one visibly does.
    [[nodiscard]] std::optional<Holder> holderOf(const QString& devicePath) const;

    // "minicom (PID 1234)", "PID 1234", or the lock file's path when it names no process.
    [[nodiscard]] static QString describe(const Holder& holder);

private:
    [[nodiscard]] QStringList lockNames(const QString& devicePath, const QString& node) const;
    [[nodiscard]] std::optional<Holder> lockFileHolder(const QString& lockFile) const;
    [[nodiscard]] static std::optional<Holder> processHolder(const QString& node);

    QStringList m_lockFolders;
    QStringList m_aliasFolders;
};
