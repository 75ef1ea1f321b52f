#pragma once

#include <QProcess>
#include <QString>

// Another program holding a serial device open: a shell that opens the device as its input
// and sleeps. Ends the program when it goes out of scope.
class HeldDevice {
public:
    explicit HeldDevice(const QString& devicePath);
    HeldDevice(const HeldDevice&) = delete;
    HeldDevice& operator=(const HeldDevice&) = delete;
    ~HeldDevice();

    // The holder has the device open (waits for it to get that far).
    [[nodiscard]] bool isHolding() const { return m_holding; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    bool m_holding = false;
};
