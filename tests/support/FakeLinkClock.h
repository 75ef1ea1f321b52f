#pragma once

#include "link/LinkClock.h"

#include <QList>

#include <functional>
#include <map>

// A LinkClock that only moves when the code under test pauses or sleeps: a sleep with nothing
// to wake it jumps straight to its deadline (or to the next scheduled event), so a 30-second
// time-out takes no real time. Pending events still run, so a FakeBoard's replies arrive.
class FakeLinkClock : public LinkClock {
public:
    // How far a sleep whose deadline has already come moves the clock on.
    static constexpr Duration kTick = std::chrono::milliseconds{1};

    [[nodiscard]] Duration now() const override { return m_now; }
    void pause(std::chrono::milliseconds duration) override;
    void pumpEvents() override;
    void sleepUntil(Duration deadline, SerialPort& port, int count) override;
    void wake() override { m_woken = true; }

    // Runs `action` once the clock reaches `offset` after the moment of this call.
    void after(Duration offset, std::function<void()> action);
    // Moves the clock on, running what falls due on the way.
    void advance(Duration duration) { advanceTo(m_now + duration); }

    QList<std::chrono::milliseconds> pauses;
    int pumps = 0;
    int sleeps = 0;

private:
    void advanceTo(Duration time);

    // Far from zero, so that nothing relies on the clock starting at 0.
    Duration m_now = std::chrono::hours{1000};
    std::multimap<Duration, std::function<void()>> m_scheduled;
    bool m_woken = false;
};
