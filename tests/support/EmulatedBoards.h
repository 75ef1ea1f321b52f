#pragma once

#include "link/SerialPort.h"
#include "sim/BoardFirmware.h"
#include "sim/PartMemory.h"
#include "sim/SocketPart.h"

#include <QHash>
#include <QStringList>

#include <chrono>
#include <memory>

class FakeLinkClock;

// The board emulator's firmware behind the SerialPort interface, in fake time: boards stand at
// device paths, and opening a path reaches the board there. Every byte takes its line time at
// 57,600 bit/s in both directions and the part's programming time is kept, so whole transfers,
// every fault and every time-out run as on a real line, in a few milliseconds of real time.
// The boards must outlive the ports that open them.
//
//   FakeLinkClock clock;
//   EmulatedBoards boards(clock);
//   EmulatedBoard& board = boards.add("/dev/ttyUSB0", EmulatedBoards::part("24C64"));
//   EmulatedPort port(boards);  // hand it to the code under test with the clock
class EmulatedBoard {
public:
    EmulatedBoard(const SocketPart& part, BoardFirmware::Config config);

    [[nodiscard]] const SocketPart& part() const { return m_part; }
    [[nodiscard]] QByteArray contents() const { return m_memory.bytes(); }
    void setContents(const QByteArray& bytes);
    // What the board did, in the emulator's words ("write finished", "port closed: ...").
    [[nodiscard]] const QStringList& events() const { return m_events; }
    [[nodiscard]] int eventCount(const QString& text) const
    {
        return static_cast<int>(m_events.count(text));
    }
    // Every byte the PC sent to this board.
    [[nodiscard]] const QByteArray& fromPc() const { return m_fromPc; }
    // Switched off and on, as a user would when the board no longer answers: a write it was
    // still waiting for is forgotten. Bytes on their way to or from it are lost.
    void powerCycle();
    // The board shows these failures (--fault values) from the next chunk on.
    void setFaults(const QStringList& faults);

private:
    friend class EmulatedPort;

    // Bytes that were on the line when the port object went away, and the close that followed:
    // the board still takes them; what it answers reaches nobody.
    void receiveUnheard(const QByteArray& bytes, int power);
    void closeUnheard();

    SocketPart m_part;
    PartMemory m_memory;
    BoardFirmware m_firmware;
    QStringList m_events;
    QByteArray m_fromPc;
    bool m_gone = false;  // the board dropped the line for good
    int m_power = 0;      // switched on this many times after the first
};

class EmulatedBoards {
public:
    explicit EmulatedBoards(FakeLinkClock& clock) : m_clock(clock) {}
    EmulatedBoards(const EmulatedBoards&) = delete;
    EmulatedBoards& operator=(const EmulatedBoards&) = delete;
    // What is still scheduled on the clock for these boards does nothing once they are gone.
    ~EmulatedBoards() { *m_alive = false; }

    EmulatedBoard& add(const QString& path, const SocketPart& part,
                       BoardFirmware::Config config = {});
    [[nodiscard]] EmulatedBoard* at(const QString& path) const;
    [[nodiscard]] FakeLinkClock& clock() const { return m_clock; }
    [[nodiscard]] std::weak_ptr<bool> alive() const { return m_alive; }

    // The shipped data file's part `name`; a test failure when there is none.
    [[nodiscard]] static SocketPart part(const QString& name);
    // A board configuration with the faults given as --fault values.
    [[nodiscard]] static BoardFirmware::Config faults(const QStringList& faults,
                                                      const QString& firmware = "6.00");

private:
    FakeLinkClock& m_clock;
    QHash<QString, std::shared_ptr<EmulatedBoard>> m_boards;  // the boards never move
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

class EmulatedPort : public SerialPort {
    Q_OBJECT
public:
    explicit EmulatedPort(EmulatedBoards& boards, QObject* parent = nullptr);
    ~EmulatedPort() override;

    void setDevicePath(const QString& path) override { m_devicePath = path; }
    [[nodiscard]] QString devicePath() const override { return m_devicePath; }
    void setPortNumber(int portNumber) override { m_portNumber = portNumber; }
    [[nodiscard]] int portNumber() const override { return m_portNumber; }
    void setRts(bool on) override { Q_UNUSED(on); }
    void setDtr(bool on) override { Q_UNUSED(on); }
    void setReceiveMode(ReceiveMode mode) override { m_receiveMode = mode; }
    [[nodiscard]] ReceiveMode receiveMode() const override { return m_receiveMode; }
    [[nodiscard]] bool open(QString* failureReason = nullptr) override;
    [[nodiscard]] PortOpenFailure openFailure() const override { return m_openFailure; }
    [[nodiscard]] bool isOpen() const override { return m_board != nullptr; }
    void close() override;
    void write(const QByteArray& bytes) override;
    [[nodiscard]] int receivedCount() const override { return static_cast<int>(m_received.size()); }
    [[nodiscard]] QByteArray takeAll() override { return std::exchange(m_received, {}); }
    void discard() override { m_received.clear(); }
    [[nodiscard]] bool isLineLost() const override { return m_lineLost; }

    // The adapter is pulled out: the open port loses its line at once.
    void pullOut();

    // Openings so far.
    int openCount = 0;
    // When the PC last handed bytes to the port.
    std::chrono::nanoseconds lastWriteAt{0};

private:
    void boardReceives(EmulatedBoard& board, const QByteArray& bytes, int power);
    void takeBoardOutput(EmulatedBoard& board);
    void deliver(EmulatedBoard& board, const QByteArray& bytes, int power);
    // Runs `action` at `at`, or `orphaned` instead when this port is gone by then.
    void later(std::chrono::nanoseconds at, std::function<void()> action,
               std::function<void()> orphaned = {});

    EmulatedBoards& m_boards;
    EmulatedBoard* m_board = nullptr;
    QString m_devicePath;
    int m_portNumber = 0;
    ReceiveMode m_receiveMode = ReceiveMode::Text;
    PortOpenFailure m_openFailure;
    QByteArray m_received;
    bool m_lineLost = false;
    std::chrono::nanoseconds m_toBoardFree{0};
    std::chrono::nanoseconds m_toPcFree{0};
    std::chrono::nanoseconds m_lastToBoard{0};  // when the board last received a byte
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
