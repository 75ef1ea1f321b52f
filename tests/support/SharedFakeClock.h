#pragma once

#include "support/FakeLinkClock.h"

// A line's fake clock handed to one link on it: each link owns its clock object, while the
// line's time is the one FakeLinkClock that the line's emulated board runs on.
class SharedFakeClock final : public LinkClock {
public:
    explicit SharedFakeClock(FakeLinkClock& clock) : m_clock(clock) {}
    [[nodiscard]] Duration now() const override { return m_clock.now(); }
    void pause(std::chrono::milliseconds duration) override { m_clock.pause(duration); }
    void pumpEvents() override { m_clock.pumpEvents(); }
    void sleepUntil(Duration deadline, SerialPort& port, int count) override
    {
        m_clock.sleepUntil(deadline, port, count);
    }
    void wake() override { m_clock.wake(); }

private:
    FakeLinkClock& m_clock;
};
