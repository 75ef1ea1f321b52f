#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps one board to one program of ours for the whole of a command, the window's or a
// vorle6-cli's. The port itself is opened only for each access, and a write and its verify are
// two of them; without the claim another command could take the port in between. The claim is a
// lock file per device (however the device is named) in the user's runtime folder holding the
// owner's process id, so the claim of a run that crashed is taken over. While an access runs
// the system lock of the open port also keeps out every other program.
class PortClaim {
public:
    PortClaim(const QString& folder, const QString& devicePath);

    // True when this process now holds the claim (or held it already). False when another live
    // process holds it, or the lock file cannot be made.
    [[nodiscard]] bool acquire();
    // After a refusal: the program that holds the claim and its process id, when known.
    [[nodiscard]] const QString& holderProgram() const { return m_holderProgram; }
    [[nodiscard]] qint64 holderPid() const { return m_holderPid; }
    // After a refusal: the claim file could not be made at all (a folder that is not writable).
    [[nodiscard]] bool unusable() const { return m_unusable; }
    [[nodiscard]] QString fileName() const { return m_lock->fileName(); }

    // $XDG_RUNTIME_DIR, or the temporary folder.
    [[nodiscard]] static QString defaultFolder();
    // The lock file of `devicePath` in `folder`, one per device however it is named.
    [[nodiscard]] static QString lockPath(const QString& folder, const QString& devicePath);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_holderProgram;
    qint64 m_holderPid = 0;
    bool m_unusable = false;
};
