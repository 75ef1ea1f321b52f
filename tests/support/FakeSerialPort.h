#pragma once

#include "link/SerialPort.h"

#include <QList>

#include <functional>

// A serial port in memory for protocol tests. What the program writes is recorded and handed
// to `onWrite` (a FakeBoard answers from there); what the test delivers arrives like bytes off
// the line, with bytesArrived().
class FakeSerialPort : public SerialPort {
    Q_OBJECT
public:
    struct Opening {
        int portNumber = 0;
        bool rts = false;
        bool dtr = false;
    };

    using SerialPort::SerialPort;

    void setDevicePath(const QString& path) override { m_devicePath = path; }
    [[nodiscard]] QString devicePath() const override { return m_devicePath; }
    void setPortNumber(int portNumber) override { m_portNumber = portNumber; }
    [[nodiscard]] int portNumber() const override { return m_portNumber; }
    void setRts(bool on) override { m_rts = on; }
    void setDtr(bool on) override { m_dtr = on; }
    void setReceiveMode(ReceiveMode mode) override { m_receiveMode = mode; }
    [[nodiscard]] ReceiveMode receiveMode() const override { return m_receiveMode; }
    [[nodiscard]] bool open(QString* failureReason = nullptr) override;
    [[nodiscard]] bool isOpen() const override { return m_open; }
    void close() override;
    void write(const QByteArray& bytes) override;
    [[nodiscard]] int receivedCount() const override { return static_cast<int>(m_received.size()); }
    [[nodiscard]] QByteArray takeAll() override;
    void discard() override { m_received.clear(); }

    // Bytes arrive from the board now (ignored while the port is closed, as on a real line).
    void deliver(const QByteArray& bytes);
    // Bytes arrive after `milliseconds`, from the event loop.
    void deliverLater(const QByteArray& bytes, int milliseconds = 0);

    // Scripted open: false makes every open() fail with `openFailureReason`.
    bool openSucceeds = true;
    QString openFailureReason = QStringLiteral("no such device");

    // Every byte written while open, in order, across openings.
    QByteArray written;
    // Called with each write() while open.
    std::function<void(const QByteArray&)> onWrite;
    // Port number and lines at each successful open; closes counted.
    QList<Opening> openings;
    int closeCount = 0;
    // The receive mode at each takeAll().
    QList<ReceiveMode> takeModes;

private:
    QString m_devicePath;
    int m_portNumber = kFirstPortNumber;
    bool m_rts = true;
    bool m_dtr = false;
    ReceiveMode m_receiveMode = ReceiveMode::Text;
    bool m_open = false;
    QByteArray m_received;
};
