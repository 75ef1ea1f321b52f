#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second copy of the program from running at the same time for the same user.
// The lock is a file in the user's runtime folder holding the owner's process id, so the lock
// of a run that crashed is recognised as stale and taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& path);

    // True when this process now holds the lock; false when another running copy holds it.
    [[nodiscard]] bool acquire();

    // $XDG_RUNTIME_DIR/vorle6.lock, or a per-user file in the temporary folder.
    [[nodiscard]] static QString defaultPath();

private:
    QLockFile m_lock;
};
