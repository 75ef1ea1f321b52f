#pragma once

#include <chrono>

class SerialPort;

// Time and the event loop as the board protocol sees them. The program runs on a monotonic
// clock and the real event loop; tests hand in a clock they move themselves, so no test waits
// for a 30-second time-out.
class LinkClock {
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~LinkClock() = default;

    // Monotonic time since an arbitrary start; never jumps back, never wraps.
    [[nodiscard]] virtual Duration now() const = 0;

    // Blocks the thread: the short fixed pauses between commands, in which the board takes in
    // what it was sent.
    virtual void pause(std::chrono::milliseconds duration) = 0;

    // Runs the window's pending events once, without waiting for more.
    virtual void pumpEvents() = 0;

    // Sleeps in the event loop until `port` holds at least `count` received bytes, its line is
    // lost, wake() is called or now() reaches `deadline`, whichever comes first. Returns at once
    // when the deadline has passed.
    virtual void sleepUntil(Duration deadline, SerialPort& port, int count) = 0;

    // Ends the current sleepUntil() early.
    virtual void wake() = 0;
};
