#include "link/SteadyLinkClock.h"

#include "link/SerialPort.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

SteadyLinkClock::SteadyLinkClock()
{
    m_deadlineTimer.setSingleShot(true);
    m_deadlineTimer.setTimerType(Qt::PreciseTimer);
}

LinkClock::Duration SteadyLinkClock::now() const
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void SteadyLinkClock::pause(std::chrono::milliseconds duration)
{
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

void SteadyLinkClock::pumpEvents() { QCoreApplication::processEvents(); }

void SteadyLinkClock::armFor(Duration deadline)
{
    if (m_deadlineTimer.isActive() && m_armedFor <= deadline) return;
    // Rounded up, so that the wake-up falls at or after the deadline and not a little before.
    m_deadlineTimer.start(std::chrono::ceil<std::chrono::milliseconds>(deadline - now()));
    m_armedFor = deadline;
}

void SteadyLinkClock::sleepUntil(Duration deadline, SerialPort& port, int count)
{
    QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher();
    if (!dispatcher || m_sleeping) return;
    m_sleeping = true;
    m_woken = false;
    // A chunk trickles in byte by byte on a slow line; the port announces it once it is whole.
    port.expectBytes(count - port.receivedCount());
    while (!m_woken && port.receivedCount() < count && !port.isLineLost()) {
        const Duration current = now();
        if (current >= deadline) break;
        armFor(deadline);
        dispatcher->processEvents(QEventLoop::WaitForMoreEvents);
    }
    m_sleeping = false;
    // Woken short of the count (deadline, wake()): whatever has come is announced at the next
    // pass of the event loop. Woken by the count, the threshold stays for the next chunk.
    if (port.receivedCount() < count) port.expectBytes(1);
}

void SteadyLinkClock::wake()
{
    m_woken = true;
    if (QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher()) {
        dispatcher->wakeUp();
    }
}
