#include "sim/SimRunner.h"

#include "sim/BoardFirmware.h"
#include "sim/LineLog.h"
#include "sim/SimLine.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

// A command, packet or chunk that stops arriving for this long is abandoned, as after a
// cable pulled in mid-transfer.
constexpr auto kQuietAbandon = std::chrono::seconds{2};
constexpr int kBitsPerByte = 10;

volatile std::sig_atomic_t g_stopSignal = 0;
volatile std::sig_atomic_t g_powerCycle = 0;
sigset_t g_waitMask;

void onStopSignal(int signal) { g_stopSignal = signal; }
void onPowerSignal(int) { g_powerCycle = 1; }

timespec toTimespec(std::chrono::nanoseconds duration)
{
    duration = std::max(duration, std::chrono::nanoseconds{0});
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>((duration - seconds).count())};
}

}  // namespace

void SimRunner::installSignalHandling()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    action.sa_handler = onPowerSignal;
    sigaction(SIGUSR1, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigaddset(&blocked, signal);
    // The signals are taken only inside ppoll, so a stop never falls between the check of
    // the flag and the wait.
    sigprocmask(SIG_BLOCK, &blocked, &g_waitMask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigdelset(&g_waitMask, signal);
}

SimRunner::SimRunner(SimLine& line, BoardFirmware& firmware, LineLog& log, Settings settings)
    : m_line(line), m_firmware(firmware), m_log(log), m_settings(settings)
{
    if (settings.baud > 0) {
        m_byteTime =
            std::chrono::nanoseconds{std::int64_t{1'000'000'000} * kBitsPerByte / settings.baud};
        // A byte lasts 174 us at 57600 bit/s: the system's usual 50 us of slack on every
        // timed wake-up would make the board answer late, chunk after chunk.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
}

int SimRunner::run()
{
    while (!m_finished) {
        if (g_stopSignal != 0) {
            m_log.event(QStringLiteral("stopped by signal %1").arg(int{g_stopSignal}));
            return 0;
        }
        const auto now = Clock::now();
        if (g_powerCycle != 0) {
            g_powerCycle = 0;
            powerCycle(now);
        }
        feedFirmware(now);
        if (!transmit(now)) return 0;
        if (m_closePending && m_rx.empty()) peerClosed();
        if (m_finished) break;

        // A pseudo-terminal that no program holds open reports a hang-up without end: the
        // line is watched only while a program has it open (or the tty is the peer's own).
        const bool watchLine = !m_line.ownsPty() || m_openers > 0;
        pollfd entries[2] = {{m_line.fd(), POLLIN, 0}, {m_line.watchFd(), POLLIN, 0}};
        if (!m_tx.empty() && m_tx.front().due <= now) entries[0].events |= POLLOUT;
        pollfd* first = watchLine ? &entries[0] : &entries[1];
        const nfds_t count = (watchLine ? 1 : 0) + (m_line.watchFd() >= 0 ? 1 : 0);
        const timespec timeout = toTimespec(nextDeadline(now) - Clock::now());
        if (::ppoll(first, count, &timeout, &g_waitMask) < 0) continue;  // a signal
        const auto woken = Clock::now();
        if (!receive(woken)) return 0;
        watchOpenings(woken);
    }
    return 0;
}

void SimRunner::watchOpenings(Clock::time_point now)
{
    if (m_line.watchFd() < 0) return;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(m_line.watchFd(), buffer, sizeof buffer);
        if (length <= 0) return;
        bool closed = false;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) {
                if (m_openers++ == 0) m_log.event(QStringLiteral("port opened"));
            } else if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                m_openers = std::max(0, m_openers - 1);
                if (m_openers == 0) {
                    m_log.event(QStringLiteral("port closed"));
                    closed = true;
                }
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
        if (!closed) continue;
        // What the program wrote before it closed belongs to the access it ended. When it has
        // opened the line again already, the bytes read may hold the next access's start too:
        // ending "the running transfer" then could cut that one short, so the close is only
        // logged.
        receive(now);
        if (m_openers == 0 || m_settings.once) m_closePending = true;
    }
}

SimRunner::Clock::time_point SimRunner::nextDeadline(Clock::time_point now) const
{
    auto deadline = now + std::chrono::seconds{1};
    if (!m_rx.empty()) deadline = std::min(deadline, m_rx.front().due);
    if (!m_tx.empty()) deadline = std::min(deadline, m_tx.front().due);
    if (m_firmware.inPartialFrame() && m_rx.empty()) {
        deadline = std::min(deadline, m_lastReceived + kQuietAbandon);
    }
    return std::max(deadline, now);
}

void SimRunner::feedFirmware(Clock::time_point now)
{
    QByteArray due;
    while (!m_rx.empty() && m_rx.front().due <= now) {
        due.append(m_rx.front().byte);
        m_rx.pop_front();
    }
    if (!due.isEmpty()) {
        m_firmware.receive(due);
    } else if (m_rx.empty() && m_firmware.inPartialFrame() &&
               now - m_lastReceived >= kQuietAbandon) {
        m_firmware.lineQuiet();
    }
    logEvents();
    schedule(now);
}

void SimRunner::schedule(Clock::time_point now)
{
    for (const BoardFirmware::Output& output : m_firmware.takeOutput()) {
        const auto quietFrom = std::max(now, m_txLineFree);
        auto due = quietFrom + std::chrono::duration_cast<Clock::duration>(output.quietBefore);
        for (const char byte : output.bytes) {
            // The PC has a byte once its stop bit is through: it goes to the line at the end
            // of its frame, not at the start.
            const auto frameStart = std::max(due, m_txLineFree);
            m_txLineFree = frameStart + m_byteTime;
            m_tx.push_back({m_txLineFree, byte, false});
            due = frameStart;
        }
        if (output.dropLine || output.hangUp) {
            m_tx.push_back({std::max(due, m_txLineFree), 0, output.dropLine, output.hangUp});
        }
    }
}

bool SimRunner::transmit(Clock::time_point now)
{
    QByteArray ready;
    bool drop = false;
    bool hangUp = false;
    for (const TxByte& item : m_tx) {
        if (item.due > now) break;
        if (item.dropAfter || item.hangUpAfter) {
            drop = item.dropAfter;
            hangUp = item.hangUpAfter;
            break;
        }
        ready.append(item.byte);
    }
    qsizetype written = 0;
    while (written < ready.size()) {
        const ssize_t result = ::write(m_line.fd(), ready.constData() + written,
                                       static_cast<size_t>(ready.size() - written));
        if (result < 0) {
            if (errno == EINTR) continue;
            break;  // the line is full (or gone): the rest waits for the next pass
        }
        written += result;
    }
    if (written > 0) m_log.sent(ready.left(written));
    m_tx.erase(m_tx.begin(), m_tx.begin() + written);
    if (drop && written == ready.size()) {
        m_log.event(QStringLiteral("line dropped"));
        m_line.close();
        return false;
    }
    if (hangUp && written == ready.size()) return replaceLine();
    return true;
}

bool SimRunner::replaceLine()
{
    m_tx.clear();
    m_rx.clear();
    m_openers = 0;
    m_closePending = false;
    m_firmware.lineClosed();
    logEvents();
    QString error;
    if (!m_line.ownsPty() || !m_line.renewPty(&error)) {
        m_log.event(QStringLiteral("line hung up%1").arg(error.isEmpty() ? "" : ": " + error));
        m_line.close();
        return false;
    }
    m_log.event(QStringLiteral("line hung up; new pseudo-terminal %1").arg(m_line.devicePath()));
    std::fprintf(stderr, "qzpgm-sim: the line hung up; now on %s\n",
                 qPrintable(m_line.devicePath()));
    return true;
}

void SimRunner::powerCycle(Clock::time_point now)
{
    // What was on its way to or from the board is lost with the power.
    m_rx.clear();
    m_tx.clear();
    m_rxLineFree = m_txLineFree = now;
    m_firmware.powerCycle();
    logEvents();
}

bool SimRunner::receive(Clock::time_point now)
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_line.fd(), buffer, sizeof buffer);
        if (count > 0) {
            m_log.received(QByteArray(buffer, count));
            for (ssize_t i = 0; i < count; ++i) {
                // The pseudo-terminal hands over at once what the program wrote; on the line
                // each byte is complete one frame after it started.
                m_rxLineFree = std::max(now, m_rxLineFree) + m_byteTime;
                m_rx.push_back({m_rxLineFree, buffer[i]});
            }
            m_lastReceived = now;
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN) return true;
        // End of file or EIO: nobody holds the other end. For the emulator's own
        // pseudo-terminal that is the pause between two accesses; a tty's peer has gone.
        if (m_line.ownsPty()) return true;
        m_log.event(QStringLiteral("peer gone"));
        return false;
    }
}

void SimRunner::peerClosed()
{
    m_closePending = false;
    m_firmware.lineClosed();
    logEvents();
    if (m_settings.once) m_finished = true;
}

void SimRunner::logEvents()
{
    for (const QString& text : m_firmware.takeEvents()) m_log.event(text);
}
