#pragma once

#include <QByteArray>

#include <chrono>
#include <deque>

class BoardFirmware;
class LineLog;
class SimLine;

// Moves bytes between the line and the firmware until told to stop: by SIGINT, SIGTERM or
// SIGHUP, by the peer going away (an existing tty hung up), by the firmware dropping the line,
// or with `once` when the program closes the emulator's pseudo-terminal for the first time. A
// pseudo-terminal is otherwise served across any number of the program's open/close cycles;
// each close is told to the firmware. SIGUSR1 switches the board off and on. When the firmware
// hangs up, a pseudo-terminal is replaced by a new one (its link follows), as an adapter that
// was pulled out and plugged in again; an existing tty ends the emulator.
//
// With a baud rate every byte takes its line time (10 bits) in both directions and the
// firmware's quiet times are kept; without one everything goes as fast as it can.
class SimRunner {
public:
    struct Settings {
        int baud = 0;  // 0: no pacing
        bool once = false;
    };

    SimRunner(SimLine& line, BoardFirmware& firmware, LineLog& log, Settings settings);

    // Blocks SIGINT, SIGTERM, SIGHUP and SIGUSR1 (they are taken only while the runner waits)
    // and ignores SIGPIPE. Call once before the line is created.
    static void installSignalHandling();

    // Runs until one of the ends above; the exit status of the emulator.
    int run();

private:
    using Clock = std::chrono::steady_clock;
    struct TxByte {
        Clock::time_point due;
        char byte = 0;
        bool dropAfter = false;
        bool hangUpAfter = false;
    };
    struct RxByte {
        Clock::time_point due;
        char byte = 0;
    };

    void feedFirmware(Clock::time_point now);
    void schedule(Clock::time_point now);
    // False when the line was dropped on purpose.
    bool transmit(Clock::time_point now);
    // False when the peer has gone for good.
    bool receive(Clock::time_point now);
    void watchOpenings(Clock::time_point now);
    void peerClosed();
    void powerCycle(Clock::time_point now);
    // False when the line cannot be replaced.
    bool replaceLine();
    void logEvents();
    [[nodiscard]] Clock::time_point nextDeadline(Clock::time_point now) const;

    SimLine& m_line;
    BoardFirmware& m_firmware;
    LineLog& m_log;
    Settings m_settings;
    std::chrono::nanoseconds m_byteTime{0};
    std::deque<RxByte> m_rx;
    std::deque<TxByte> m_tx;
    Clock::time_point m_rxLineFree;
    Clock::time_point m_txLineFree;
    Clock::time_point m_lastReceived;
    int m_openers = 0;  // programs holding the pseudo-terminal open
    bool m_closePending = false;
    bool m_finished = false;
};
