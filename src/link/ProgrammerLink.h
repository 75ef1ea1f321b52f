#pragma once

#include "link/LinkClock.h"

#include <QString>

#include <chrono>
#include <cstdint>

class AccessWindow;
class SerialPort;
class SettingsStore;
class StatusPanels;
class UserDialogs;
struct TransferPlan;

// The framing every access to the programmer board shares: the control lock, detection of the
// board, the preamble and header that open a read or write, the address packets and the reply
// wait with its time-out flag. EepromAccess runs the reads and writes on top of it.
//
// Everything runs on the user-interface thread. Waits sleep in the event loop, so the window
// keeps repainting; the short pauses between commands block.
class ProgrammerLink {
public:
    static constexpr auto kDetectionLimit = std::chrono::seconds{10};
    static constexpr auto kReplyLimit = std::chrono::seconds{30};
    static constexpr auto kCommandPause = std::chrono::milliseconds{10};
    static constexpr auto kQueryPause = std::chrono::milliseconds{50};
    static constexpr int kIdentificationReply = 17;  // 15 characters of text and two more
    static constexpr float kMinimumFirmware = 6.0F;

    ProgrammerLink(SerialPort& port, LinkClock& clock, StatusPanels& panels, UserDialogs& dialogs,
                   const SettingsStore& settings, AccessWindow& window);

    // TimeOutFlag: 1 once a wait has run out, a reply was wrong or the access was stopped;
    // it stays 1 until the next clearing point (lock, detection, start of a read or write,
    // preamble).
    [[nodiscard]] std::int32_t TimeOutFlag() const { return m_timeOutFlag; }
    void setTimeOutFlag(std::int32_t flag) { m_timeOutFlag = flag; }

    // Waits until at least `minimum` bytes have been received or more than `limit` has passed
    // since the wait began. On time-out: TimeOutFlag = 1 and "タイムアウト" in panel 1.
    void Wait_Input(int minimum, LinkClock::Duration limit);

    // Opens the port from the stored settings and checks that a QZ-PGM board with firmware 6 or
    // later answers. TimeOutFlag = 1 when the access must not go on. The port stays open.
    void Read_Version();

    // "E", then "e" + family digit + "P"; waits up to 30 s for any answer.
    void Eep_Prepare(std::int32_t family);
    // Drops what was received, then "E" and "e" + family digit + `letter`, 10 ms after each.
    void Send_Access_Header(std::int32_t family, char letter);
    // The start and end packets of `plan`, 10 ms after each; a read also pumps events before
    // each pause.
    void sendAddressPackets(const TransferPlan& plan, bool pumpEvents);

    void Lock_Controls();
    // Safe to run twice in a row: the second run changes nothing.
    void Unlock_Controls();

    // An access holds the lock.
    [[nodiscard]] bool running() const { return m_running; }
    // Ends the running access at its next wait, as if the board had stopped answering, without
    // a time-out text. Used when the main window closes during an access.
    void cancel();
    [[nodiscard]] bool cancelled() const { return m_cancelled; }

    [[nodiscard]] SerialPort& port() { return m_port; }
    [[nodiscard]] LinkClock& clock() { return m_clock; }
    [[nodiscard]] StatusPanels& panels() { return m_panels; }

private:
    void write(char byte);
    void showNotConnected(int portNumber, const QString& operationText);
    void stopDetection(const QString& operationText);

    SerialPort& m_port;
    LinkClock& m_clock;
    StatusPanels& m_panels;
    UserDialogs& m_dialogs;
    const SettingsStore& m_settings;
    AccessWindow& m_window;
    std::int32_t m_timeOutFlag = 0;
    bool m_running = false;
    bool m_cancelled = false;
};
