#pragma once

#include "link/SerialPort.h"

class QSerialPort;

// The program's serial port (objectName "MSComm1") over Qt Serial Port: 57600 bit/s, 8N1, no
// flow control, on the device its caller names.
class QtSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    void setDevicePath(const QString& path) override { m_devicePath = path; }
    [[nodiscard]] QString devicePath() const override { return m_devicePath; }
    void setPortNumber(int portNumber) override { m_portNumber = portNumber; }
    [[nodiscard]] int portNumber() const override { return m_portNumber; }
    void setRts(bool on) override { m_rts = on; }
    void setDtr(bool on) override { m_dtr = on; }
    void setReceiveMode(ReceiveMode mode) override { m_receiveMode = mode; }
    [[nodiscard]] ReceiveMode receiveMode() const override { return m_receiveMode; }
    [[nodiscard]] bool open(QString* failureReason = nullptr) override;
    [[nodiscard]] bool isOpen() const override;
    void close() override;
    void write(const QByteArray& bytes) override;
    [[nodiscard]] int receivedCount() const override;
    [[nodiscard]] QByteArray takeAll() override;
    void discard() override;
    void expectBytes(int count) override;
    [[nodiscard]] bool isLineLost() const override { return m_lineLost; }

private:
    void drain();
    void requestLowLatency();
    void onError(int error);

    QSerialPort* m_port = nullptr;
    QString m_devicePath;
    int m_portNumber = 0;
    bool m_rts = true;
    bool m_dtr = false;
    ReceiveMode m_receiveMode = ReceiveMode::Text;
    int m_wakeCount = 1;  // the line's wake-up threshold (termios VMIN), 1 as opened
    bool m_lineLost = false;
    QByteArray m_leftOver;  // received before the line was lost
};
