#include "app/gui/FileHandoff.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

// A path longer than this is no path; the connection is dropped.
constexpr qsizetype kLongestRequest = 65536;
constexpr char kEnd = '\0';
constexpr char kTaken = '\x06';
// How long a second start waits between attempts while the running copy sets up its socket.
constexpr auto kRetryPause = std::chrono::milliseconds{50};

}  // namespace

QString FileHandoff::serverNameFor(const QString& lockFilePath)
{
    QString name = lockFilePath;
    if (name.endsWith(QStringLiteral(".lock"))) name.chop(5);
    return name + QStringLiteral(".socket");
}

FileHandoff::FileHandoff(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName))
{
}

FileHandoff::~FileHandoff() = default;

bool FileHandoff::listen()
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &FileHandoff::takeConnection);
    }
    if (m_server->isListening()) return true;
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName)) return true;
    qWarning("vorle6: files from a second start cannot be taken: %s",
             qPrintable(m_server->errorString()));
    return false;
}

void FileHandoff::takeConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
}

void FileHandoff::readRequest(QLocalSocket* socket)
{
    const QByteArray pending = socket->peek(kLongestRequest + 1);
    const qsizetype end = pending.indexOf(kEnd);
    if (end < 0) {
        if (pending.size() > kLongestRequest) socket->abort();
        return;
    }
    const QString path = QString::fromUtf8(socket->read(end + 1).chopped(1));
    socket->write(&kTaken, 1);
    socket->flush();
    socket->disconnectFromServer();
    // Loading may show message boxes: not from inside the socket's signal.
    QTimer::singleShot(0, this, [this, path] { emit fileHanded(path); });
}

bool FileHandoff::handOver(const QString& serverName, const QString& path,
                           std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(serverName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
        // The running copy may hold the lock a moment before its socket is set up.
        if (deadline.hasExpired()) return false;
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(kRetryPause.count(), deadline.remainingTime())));
        if (deadline.hasExpired()) return false;
    }
    QByteArray request = path.toUtf8();
    request.append(kEnd);
    socket.write(request);
    socket.flush();
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    }
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return false;
    }
    return socket.read(1) == QByteArray(1, kTaken);
}
