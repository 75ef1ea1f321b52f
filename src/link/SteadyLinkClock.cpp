#include "link/SteadyLinkClock.h"

#include "link/SerialPort.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

LinkClock::Duration SteadyLinkClock::now() const
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void SteadyLinkClock::pause(std::chrono::milliseconds duration)
{
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

void SteadyLinkClock::pumpEvents() { QCoreApplication::processEvents(); }

void SteadyLinkClock::sleepUntil(Duration deadline, SerialPort& port, int count)
{
    const Duration remaining = deadline - now();
    if (remaining <= Duration::zero() || m_sleep || port.receivedCount() >= count ||
        port.isLineLost()) {
        return;
    }

    QEventLoop sleep;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &sleep, &QEventLoop::quit);
    // A chunk trickles in byte by byte on a slow line; wake once, when it is whole.
    QObject::connect(&port, &SerialPort::bytesArrived, &sleep, [&] {
        if (port.receivedCount() >= count) sleep.quit();
    });
    QObject::connect(&port, &SerialPort::lineLost, &sleep, &QEventLoop::quit);
    // Round up, so that the wake-up falls at or after the deadline and not a little before.
    timer.start(std::chrono::ceil<std::chrono::milliseconds>(remaining));
    port.expectBytes(count - port.receivedCount());
    m_sleep = &sleep;
    sleep.exec();
    m_sleep = nullptr;
    // Woken short of the count (deadline, wake()): whatever has come is announced at the next
    // pass of the event loop. Woken by the count, the threshold stays for the next chunk.
    if (port.receivedCount() < count) port.expectBytes(1);
}

void SteadyLinkClock::wake()
{
    if (m_sleep) m_sleep->quit();
}
