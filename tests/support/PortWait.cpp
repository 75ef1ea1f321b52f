#include "support/PortWait.h"

#include "link/SerialPort.h"

#include <QEventLoop>
#include <QTimer>

bool waitForReceived(SerialPort& port, int count, std::chrono::milliseconds limit)
{
    if (port.receivedCount() >= count) return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection = QObject::connect(&port, &SerialPort::bytesArrived, &loop, [&] {
        if (port.receivedCount() >= count) loop.quit();
    });
    deadline.start(limit);
    loop.exec();
    QObject::disconnect(connection);
    return port.receivedCount() >= count;
}
