#pragma once

#include "sim/FaultPlan.h"
#include "sim/I2cEeprom.h"
#include "sim/MicrowireEeprom.h"
#include "sim/RandomFaults.h"
#include "sim/SocketPart.h"

#include <QByteArray>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class PartMemory;

// The programmer board's firmware as the PC sees it on the serial line, byte in, bytes out.
// It knows no time: outputs carry the quiet time the board would take before them (the part's
// programming time) and the runner puts them on the line.
//
// Commands from the PC:
//   "?"                      answered by the 15-character identification and CR LF
//   "E" "e" d "P"            prepares the board for family d ("2" I2C, "3" Microwire);
//                            answered by one byte, "P"
//   "E" "e" d L + 2 packets  read (L = "R", "r") or write (L = "W", "w"); each packet is the
//                            chunk size, then three address bytes (family 3: the Microwire
//                            address width, then two address bytes): first and last address
// A read sends the range in chunks and waits for "@" after each one. A write sends "@" when it
// is ready for the next chunk and programs each chunk once it is complete; after the last chunk
// it sends nothing (with `readyAfterLast`, a last "@" once that chunk is programmed).
// Once told a write range, the board takes every byte that comes as chunk data until the range
// is complete: a closed port or a quiet line does not end the write, and the next access's
// bytes land in the part. Only switching the board off and on does (powerCycle). With
// `forgiving` the board abandons a write on a close or a quiet line instead (a torn chunk
// programs nothing).
// "R"/"W" address I2C parts with one word-address byte and A8..A10 in the device address block
// bits; "r"/"w" with two word-address bytes and A16 in the device address. Microwire ignores
// the letter's case.
class BoardFirmware {
public:
    struct Config {
        QString firmwareVersion = QStringLiteral("6.00");  // four characters
        FaultPlan faults;
        bool programmingTime = false;  // put the part's programming time on the line
        bool readyAfterLast = false;   // answer the last chunk of a write with "@"
        bool forgiving = false;        // abandon a write on a close or a quiet line
        bool writeProtect = false;     // the part's WP pin is high: writes store nothing
    };

    struct Output {
        QByteArray bytes;
        std::chrono::microseconds quietBefore{0};
        bool dropLine = false;  // after the bytes the line goes away for good
        bool hangUp = false;    // after the bytes the line goes away; the board stays
    };

    BoardFirmware(const SocketPart& part, PartMemory& memory, Config config);
    ~BoardFirmware();

    void receive(const QByteArray& bytes);
    // The PC closed the port (or the line hung up): a read ends; a write goes on waiting for
    // its bytes unless the board is forgiving.
    void lineClosed();
    // The PC stopped in the middle of a command, packet or chunk: abandon it.
    void lineQuiet();
    // Whether a quiet line would abandon something begun (the runner's quiet timer).
    [[nodiscard]] bool inPartialFrame() const;
    // The board switched off and on: whatever it waited for is forgotten.
    void powerCycle();
    // The failures to show from the next chunk on, in place of those it was made with.
    void setFaults(const FaultPlan& faults);

    [[nodiscard]] std::vector<Output> takeOutput();
    // What the board did, for the line log.
    [[nodiscard]] QStringList takeEvents();

    // "QZ-PGM Ver 6.00" for version "6.00".
    [[nodiscard]] static QByteArray identification(const QString& version);

private:
    enum class State { Idle, Command, Packets, AwaitRequest, AwaitChunk, Silent };

    void receiveByte(char byte);
    void idleByte(char byte);
    void commandByte(char byte);
    void packetByte(char byte);
    void chunkByte(char byte);
    void startTransfer();
    void sendReadChunk();
    void sendReady(std::chrono::microseconds quietBefore);
    void finishChunk();
    [[nodiscard]] bool silentFrom(int chunkNumber);
    // The random failure of the next chunk, if it meets one; a stall silences the board.
    [[nodiscard]] std::optional<RandomFaults::Fault> randomFault(int chunkNumber);
    void hangUp(const QByteArray& bytesBefore);
    void abandon(const QString& why);

    [[nodiscard]] bool reachesPart() const;
    [[nodiscard]] QByteArray readPart(qint64 address, int count);
    void writePart(qint64 address, const QByteArray& bytes);
    [[nodiscard]] std::chrono::microseconds programmingTime(int byteCount) const;

    void send(const QByteArray& bytes, std::chrono::microseconds quietBefore = {});
    void event(const QString& text) { m_events.append(text); }

    SocketPart m_part;
    Config m_config;
    std::unique_ptr<I2cEeprom> m_i2c;
    std::unique_ptr<MicrowireEeprom> m_microwire;
    std::optional<RandomFaults> m_random;

    State m_state = State::Idle;
    QByteArray m_frame;
    int m_preparedFamily = 0;
    int m_family = 0;
    char m_letter = 0;
    bool m_writing = false;
    int m_chunkSize = 0;
    int m_addressParam = 0;
    qint64 m_start = 0;
    qint64 m_end = 0;
    int m_chunksTotal = 0;
    int m_chunksDone = 0;
    int m_chunkBytesIn = 0;                           // bytes of the awaited chunk so far
    std::optional<RandomFaults::Fault> m_chunkFault;  // what the awaited write chunk meets
    bool m_lineDown = false;                          // hung up: nothing arrives until a close

    std::vector<Output> m_output;
    QStringList m_events;
};
