#include "support/FakeLinkClock.h"

#include "link/SerialPort.h"

#include <QCoreApplication>

void FakeLinkClock::pause(std::chrono::milliseconds duration)
{
    pauses.append(duration);
    advance(duration);
}

void FakeLinkClock::pumpEvents()
{
    ++pumps;
    QCoreApplication::processEvents();
}

void FakeLinkClock::sleepUntil(Duration deadline, SerialPort& port, int count)
{
    ++sleeps;
    QCoreApplication::processEvents();
    if (port.receivedCount() >= count || m_woken) {
        m_woken = false;
        return;
    }
    Duration target = deadline > m_now ? deadline : m_now + kTick;
    if (!m_scheduled.empty() && m_scheduled.begin()->first < target) {
        target = m_scheduled.begin()->first;
    }
    advanceTo(target);
}

void FakeLinkClock::after(Duration offset, std::function<void()> action)
{
    m_scheduled.emplace(m_now + offset, std::move(action));
}

void FakeLinkClock::advanceTo(Duration time)
{
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= time) {
        auto due = m_scheduled.extract(m_scheduled.begin());
        m_now = due.key();
        due.mapped()();
    }
    if (time > m_now) m_now = time;
}
