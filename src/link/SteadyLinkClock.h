#pragma once

#include "link/LinkClock.h"

#include <QTimer>

// The program's LinkClock: std::chrono::steady_clock, a thread sleep for the pauses, and for
// the waits the thread's own event dispatcher, blocking until a serial or window event or the
// deadline. A read waits some eight thousand times, so a wait costs no more than the system's
// poll: no event loop or timer is made per wait, and the deadline timer is armed again only
// when a wait ends sooner than the one it stands for.
class SteadyLinkClock final : public LinkClock {
public:
    SteadyLinkClock();

    [[nodiscard]] Duration now() const override;
    void pause(std::chrono::milliseconds duration) override;
    void pumpEvents() override;
    void sleepUntil(Duration deadline, SerialPort& port, int count) override;
    void wake() override;

private:
    // The deadline timer fires no later than `deadline`.
    void armFor(Duration deadline);

    QTimer m_deadlineTimer;
    Duration m_armedFor{0};
    bool m_sleeping = false;
    bool m_woken = false;
};
