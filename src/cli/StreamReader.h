#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QEventLoop;
class QIODevice;

// Reads a stream to its end (standard input for "-i -"), at most `limit` bytes: a pipe whose
// writer never ends it, a terminal or /dev/zero can neither keep the program for ever nor fill
// its memory. While it waits for bytes it serves the thread's events, so that Ctrl+C
// (interrupt()) ends the wait. A device without a descriptor (a buffer) is read as it is.
class StreamReader : public QObject {
    Q_OBJECT
public:
    enum class Result { Read, TooLong, Failed, Interrupted };

    StreamReader(QIODevice& device, qint64 limit) : m_device(device), m_limit(limit) {}

    [[nodiscard]] Result read();
    // Read: the stream's bytes.
    [[nodiscard]] const QByteArray& bytes() const { return m_bytes; }
    // Failed: the system's reason.
    [[nodiscard]] const QString& error() const { return m_error; }
    // Ends the running read, or else the next one, with Interrupted.
    void interrupt();

private:
    [[nodiscard]] Result readDescriptor(int descriptor);
    // Takes `count` more bytes; false once there are more than the limit.
    [[nodiscard]] bool take(const char* bytes, qint64 count);

    QIODevice& m_device;
    qint64 m_limit = 0;
    QByteArray m_bytes;
    QString m_error;
    QEventLoop* m_loop = nullptr;  // while a read waits
    bool m_interrupted = false;
};
