#pragma once

#include "devices/BusFamily.h"
#include "link/AccessOutcome.h"
#include "link/LinkClock.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>

class AccessObserver;
class SerialPort;
struct LinkSettings;
struct TransferPlan;

// The framing every access to the programmer board shares: detection of the board, the
// preamble and header that open a read or write, the address packets and the reply wait with
// its time-out flag. EepromTransfer runs the reads and writes on top of it.
//
// One access runs at a time, on the thread that owns the port and the clock. Waits sleep in
// that thread's event loop; the short pauses between commands block.
class ProgrammerLink {
public:
    static constexpr auto kDetectionLimit = std::chrono::seconds{10};
    static constexpr auto kReplyLimit = std::chrono::seconds{30};
    static constexpr auto kCommandPause = std::chrono::milliseconds{10};
    static constexpr auto kQueryPause = std::chrono::milliseconds{50};
    // A USB serial adapter holds received bytes back for up to 16 ms before it hands them on.
    static constexpr auto kAdapterLatency = std::chrono::milliseconds{20};
    static constexpr int kIdentificationReply = 17;  // 15 characters of text and two more
    static constexpr float kMinimumFirmware = 6.0F;

    ProgrammerLink(SerialPort& port, LinkClock& clock);

    // Where progress and the board's identification go; none by default.
    void setObserver(AccessObserver* observer) { m_observer = observer; }
    [[nodiscard]] AccessObserver* observer() const { return m_observer; }

    // Marks the start of an access: clears the flag and the cancel request. False when an
    // access is already running.
    [[nodiscard]] bool begin();
    // Ends the access: closes the port. Safe to run twice.
    void end();
    [[nodiscard]] bool running() const { return m_running; }

    // TimeOutFlag: 1 once a wait has run out, a reply was wrong or the access was stopped;
    // it stays 1 until the next clearing point (begin, detection, start of a read or write,
    // preamble).
    [[nodiscard]] std::int32_t TimeOutFlag() const { return m_timeOutFlag; }
    void setTimeOutFlag(std::int32_t flag) { m_timeOutFlag = flag; }

    // Waits until at least `minimum` bytes have been received or more than `limit` has passed
    // since the wait began. On time-out: TimeOutFlag = 1, and the observer hears of it unless
    // the access was cancelled or the line went away.
    void Wait_Input(int minimum, LinkClock::Duration limit);
    // The same wait without the flag or the time-out text: true when the bytes came, false when
    // `limit` passed or the access was cancelled.
    [[nodiscard]] bool awaitBytes(int minimum, LinkClock::Duration limit);

    // Opens the port on `link` and checks that a QZ-PGM board with firmware 6 or later answers
    // within `limit`. Done (with the identification) when the access may go on; otherwise
    // TimeOutFlag = 1 and the outcome says why. The port stays open. An access waits the full
    // 10 s; a search that asks one device after another gives each a shorter limit.
    [[nodiscard]] AccessOutcome Read_Version(const LinkSettings& link,
                                             LinkClock::Duration limit = kDetectionLimit);

    // After the last chunk of a write the board promises nothing, yet some boards answer it with
    // "@" once the part has programmed it. Detection drops whatever arrives before its second
    // query, which it sends 50 ms after opening the port: the next access never takes such an
    // answer for its identification as long as the write waits this long for it (zero when
    // the answer always comes within those 50 ms).
    [[nodiscard]] static LinkClock::Duration lastChunkAnswerLimit(const TransferPlan& plan);

    // "E", then "e" + family digit + "P"; waits up to 30 s for any answer.
    void Eep_Prepare(BusFamily family);
    // Drops what was received, then "E" and "e" + family digit + `letter`, 10 ms after each.
    void Send_Access_Header(BusFamily family, char letter);
    // The start and end packets of `plan`, 10 ms after each; a read also pumps events before
    // each pause.
    void sendAddressPackets(const TransferPlan& plan, bool pumpEvents);

    // Sends `bytes` and logs them.
    void send(const QByteArray& bytes);
    // Takes every received byte and logs them.
    [[nodiscard]] QByteArray takeReceived();

    // Ends the running access at its next wait, as if the board had stopped answering, without
    // a time-out text. Call on the link's own thread (from its event loop).
    void cancel();
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    // The port's line went away during this access.
    [[nodiscard]] bool lineLost() const;

    [[nodiscard]] SerialPort& port() { return m_port; }
    [[nodiscard]] LinkClock& clock() { return m_clock; }

private:
    [[nodiscard]] AccessOutcome detectionFailure(AccessOutcome::Kind kind, const LinkSettings& link,
                                                 bool notConnected);

    SerialPort& m_port;
    LinkClock& m_clock;
    AccessObserver* m_observer = nullptr;
    std::int32_t m_timeOutFlag = 0;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
};
