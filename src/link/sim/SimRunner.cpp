#include "link/sim/SimRunner.h"

#include "link/sim/BoardFirmware.h"
#include "link/sim/LineLog.h"
#include "link/sim/SimLine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace {

// A command, packet or chunk that stops arriving for this long is abandoned, as after a
// cable pulled in mid-transfer.
constexpr auto kQuietAbandon = std::chrono::seconds{2};
// While no program holds the pseudo-terminal open, how often to look whether one opened it.
constexpr auto kPeerLookInterval = std::chrono::milliseconds{10};
constexpr int kBitsPerByte = 10;

volatile std::sig_atomic_t g_stopSignal = 0;
sigset_t g_waitMask;

void onStopSignal(int signal) { g_stopSignal = signal; }

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
    std::signal(SIGPIPE, SIG_IGN);

    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    // The signals are taken only inside ppoll, so a stop never falls between the check of
    // the flag and the wait.
    sigprocmask(SIG_BLOCK, &blocked, &g_waitMask);
    sigdelset(&g_waitMask, SIGINT);
    sigdelset(&g_waitMask, SIGTERM);
    sigdelset(&g_waitMask, SIGHUP);
}

SimRunner::SimRunner(SimLine& line, BoardFirmware& firmware, LineLog& log, Settings settings)
    : m_line(line), m_firmware(firmware), m_log(log), m_settings(settings)
{
    if (settings.baud > 0) {
        m_byteTime = std::chrono::nanoseconds{std::int64_t{1'000'000'000} * kBitsPerByte /
                                              settings.baud};
    }
    m_peerPresent = !line.ownsPty();
}

int SimRunner::run()
{
    while (!m_finished) {
        if (g_stopSignal != 0) {
            m_log.event(QStringLiteral("stopped by signal %1").arg(int{g_stopSignal}));
            return 0;
        }
        const auto now = Clock::now();
        feedFirmware(now);
        if (!transmit(now)) return 0;
        if (m_closePending && m_rx.empty()) peerClosed();
        if (m_finished) break;

        if (!m_peerPresent) {
            // A pseudo-terminal without a program reports a hang-up at once: look again
            // shortly instead of waiting on the line.
            const auto deadline = std::min(nextDeadline(now), now + kPeerLookInterval);
            short ignored = 0;
            if (!wait(deadline, false, &ignored)) continue;
        } else {
            short revents = 0;
            if (!wait(nextDeadline(now), true, &revents)) continue;
            if (revents == 0) continue;
        }
        if (!receive(Clock::now())) return 0;
    }
    return 0;
}

bool SimRunner::wait(Clock::time_point deadline, bool watchLine, short* revents)
{
    const timespec timeout = toTimespec(deadline - Clock::now());
    pollfd entry{m_line.fd(), static_cast<short>(POLLIN), 0};
    if (!m_tx.empty() && m_tx.front().due <= Clock::now()) entry.events |= POLLOUT;
    const int result = ::ppoll(watchLine ? &entry : nullptr, watchLine ? 1 : 0, &timeout,
                               &g_waitMask);
    if (result < 0) return false;  // a signal: the loop looks at the flag
    *revents = entry.revents;
    return true;
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
            due = std::max(due, m_txLineFree);
            m_tx.push_back({due, byte, false});
            m_txLineFree = due + m_byteTime;
        }
        if (output.dropLine) m_tx.push_back({std::max(due, m_txLineFree), 0, true});
    }
}

bool SimRunner::transmit(Clock::time_point now)
{
    QByteArray ready;
    bool drop = false;
    for (const TxByte& item : m_tx) {
        if (item.due > now) break;
        if (item.dropAfter) {
            drop = true;
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
    return true;
}

bool SimRunner::receive(Clock::time_point now)
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_line.fd(), buffer, sizeof buffer);
        if (count > 0) {
            if (!m_peerPresent) {
                m_peerPresent = true;
                m_log.event(QStringLiteral("port opened"));
            }
            m_log.received(QByteArray(buffer, count));
            for (ssize_t i = 0; i < count; ++i) {
                const auto due = std::max(now, m_rxLineFree);
                m_rx.push_back({due, buffer[i]});
                m_rxLineFree = due + m_byteTime;
            }
            m_lastReceived = now;
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN) {
            if (!m_peerPresent) {
                m_peerPresent = true;
                m_log.event(QStringLiteral("port opened"));
            }
            return true;
        }
        // End of file or EIO: nobody holds the other end.
        if (!m_line.ownsPty()) {
            m_log.event(QStringLiteral("peer gone"));
            return false;
        }
        if (m_peerPresent) m_closePending = true;
        m_peerPresent = false;
        return true;
    }
}

void SimRunner::peerClosed()
{
    m_closePending = false;
    m_log.event(QStringLiteral("port closed"));
    m_firmware.lineClosed();
    logEvents();
    if (m_settings.once) m_finished = true;
}

void SimRunner::logEvents()
{
    for (const QString& text : m_firmware.takeEvents()) m_log.event(text);
}
