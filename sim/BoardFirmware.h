#pragma once

#include "sim/FaultPlan.h"
#include "sim/I2cEeprom.h"
#include "sim/MicrowireEeprom.h"
#include "sim/SocketPart.h"

#include <QByteArray>
#include <QStringList>

#include <chrono>
#include <memory>
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
// is ready for the next chunk, programs each chunk once it is complete (a torn chunk programs
// nothing), and sends a last "@" when the last chunk is programmed.
// "R"/"W" address I2C parts with one word-address byte and A8..A10 in the device address block
// bits; "r"/"w" with two word-address bytes and A16 in the device address. Microwire ignores
// the letter's case.
class BoardFirmware {
public:
    struct Config {
        QString firmwareVersion = QStringLiteral("6.00");  // four characters
        FaultPlan faults;
        bool programmingTime = false;  // put the part's programming time on the line
    };

    struct Output {
        QByteArray bytes;
        std::chrono::microseconds quietBefore{0};
        bool dropLine = false;  // after the bytes the line goes away
    };

    BoardFirmware(const SocketPart& part, PartMemory& memory, Config config);
    ~BoardFirmware();

    void receive(const QByteArray& bytes);
    // The PC closed the port: whatever transfer ran is abandoned.
    void lineClosed();
    // The PC stopped in the middle of a command, packet or chunk: abandon it.
    void lineQuiet();
    // Whether a command, packet or chunk has begun and not ended (the runner's quiet timer).
    [[nodiscard]] bool inPartialFrame() const;

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
    void startTransfer();
    void sendReadChunk();
    void sendReady(std::chrono::microseconds quietBefore);
    void finishChunk();
    [[nodiscard]] bool silentFrom(int chunkNumber);
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

    std::vector<Output> m_output;
    QStringList m_events;
};
