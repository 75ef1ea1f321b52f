#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps one board to one vorle6-cli for the whole of a command. The port itself is opened only
// for each access, and a write and its verify are two of them; without the claim another
// command could take the port in between. The claim is a lock file per device in the user's
// runtime folder holding the owner's process id, so the claim of a run that crashed is taken
// over. While an access runs the system lock of the open port also keeps out the window and
// every other program.
class PortClaim {
public:
    PortClaim(const QString& folder, const QString& devicePath);

    // True when this process now holds the claim. False when another live process holds it,
    // or the lock file cannot be made (then holder() says why).
    [[nodiscard]] bool acquire();
    // Who holds the claim: "vorle6-cli, process 1234"; or why it could not be taken.
    [[nodiscard]] QString holder() const { return m_holder; }

    // $XDG_RUNTIME_DIR, or the temporary folder.
    [[nodiscard]] static QString defaultFolder();
    // The lock file of `devicePath` in `folder`, one per device however it is named.
    [[nodiscard]] static QString lockPath(const QString& folder, const QString& devicePath);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_holder;
};
