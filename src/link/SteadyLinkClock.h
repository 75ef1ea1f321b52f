#pragma once

#include "link/LinkClock.h"

class QEventLoop;

// The program's LinkClock: std::chrono::steady_clock, a thread sleep for the pauses, and a
// nested event loop with a precise timer for the waits.
class SteadyLinkClock final : public LinkClock {
public:
    [[nodiscard]] Duration now() const override;
    void pause(std::chrono::milliseconds duration) override;
    void pumpEvents() override;
    void sleepUntil(Duration deadline, SerialPort& port, int count) override;
    void wake() override;

private:
    QEventLoop* m_sleep = nullptr;
};
