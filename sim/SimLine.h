#pragma once

#include <QString>

// The emulator's end of the serial line: the master of a pseudo-terminal it creates (the
// program opens the other end like any serial port), or an existing tty. Raw, 57600 bit/s,
// 8N1, no flow control, non-blocking. Closing removes the symbolic link it made.
class SimLine {
public:
    SimLine() = default;
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;
    ~SimLine();

    // Creates a pseudo-terminal; with a non-empty `linkPath` a symbolic link to its device
    // (replacing a link left behind by an emulator that was killed, never a real file).
    [[nodiscard]] bool createPty(const QString& linkPath, QString* error);
    [[nodiscard]] bool openTty(const QString& path, QString* error);
    // Closes the pseudo-terminal and makes a new one, with the link pointing at it.
    [[nodiscard]] bool renewPty(QString* error);
    void close();

    [[nodiscard]] int fd() const { return m_fd; }
    // For a pseudo-terminal: an inotify descriptor that reports each open and close of its
    // device by the program. A close followed at once by the next open still shows as two
    // events, where the line itself would only have hung up for an instant.
    [[nodiscard]] int watchFd() const { return m_watch; }
    [[nodiscard]] bool ownsPty() const { return m_ownsPty; }
    // The device the program opens: the pseudo-terminal's slave, or the tty given.
    [[nodiscard]] QString devicePath() const { return m_devicePath; }

private:
    [[nodiscard]] bool makeRaw(QString* error);

    int m_fd = -1;
    int m_watch = -1;
    bool m_ownsPty = false;
    QString m_devicePath;
    QString m_linkPath;
};
