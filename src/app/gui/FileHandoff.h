#pragma once

#include <QObject>
#include <QString>

#include <chrono>

class QLocalServer;
class QLocalSocket;

// Hands a file from a second start of the program to the copy that runs already, over a local
// socket beside the single-instance lock, and takes such files in the running copy.
//
// The second start writes the file's absolute path in UTF-8, ended by a NUL byte (an empty path
// asks only for the window), and waits for one byte in answer, so it ends only once the running
// copy has the path. The socket may be used by the same user only.
class FileHandoff : public QObject {
    Q_OBJECT
public:
    // The socket for the lock at `lockFilePath`: ".lock" replaced by ".socket".
    [[nodiscard]] static QString serverNameFor(const QString& lockFilePath);

    explicit FileHandoff(QString serverName, QObject* parent = nullptr);
    ~FileHandoff() override;

    // The running copy: starts taking files. The caller holds the single-instance lock, so a
    // socket left by a copy that crashed is removed first. False when the socket cannot be set
    // up; the program then runs on without it.
    bool listen();

    // The second start: hands `path` to the running copy. False when no copy took it within
    // `limit` (none listens, or it does not answer).
    [[nodiscard]] static bool handOver(const QString& serverName, const QString& path,
                                       std::chrono::milliseconds limit = std::chrono::seconds{3});

signals:
    // A second start handed over `path` (empty: it asked only for the window).
    void fileHanded(const QString& path);

private:
    void takeConnection();
    void readRequest(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
