#pragma once

// What the link, write and command-line benchmarks share: qzpgm-sim on a pseudo-terminal, the
// bare blocking clients that set the floor for a Block Read and a Block Write, and medians.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

[[nodiscard]] double median(std::vector<double> values);

// qzpgm-sim on a new pseudo-terminal emulating `device`, without a line log or a part file
// (both would be the emulator's work, not the program's). Ends the process when it goes.
class Emulator {
public:
    Emulator(const QString& dataFile, const QString& device, const QStringList& extra);
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;
    ~Emulator();

    [[nodiscard]] QString devicePath() const { return m_devicePath; }

private:
    QProcess m_process;
    QString m_devicePath;
};

// A raw line to the emulator with blocking reads and writes and no event loop: what a client
// with no program logic of its own does on the line.
class BareLine {
public:
    explicit BareLine(const QString& device);
    BareLine(const BareLine&) = delete;
    BareLine& operator=(const BareLine&) = delete;
    ~BareLine();

    // Detection, preamble, header ("e" + family digit + letter) and packets, with the program's
    // pauses: the line is ready for the first chunk.
    void openAccess(const QByteArray& command, const QByteArray& startPacket,
                    const QByteArray& endPacket);
    void send(const QByteArray& bytes);
    void receive(int count);
    void discardInput();
    // Waits until everything sent has left the line.
    void drain();
    static void pause(int milliseconds);

private:
    int m_fd = -1;
};

// The floor: a Block Read of the whole 1 Mbit part (24C1024: 8,192 chunks of 16 bytes) by a
// bare client, with the program's fixed pauses kept, so that what remains of a program's figure
// above it is the program's own.
class BareReader {
public:
    static constexpr int kPartSize = 131072;
    static constexpr int kChunk = 16;

    explicit BareReader(const QString& device) : m_line(device) {}

    // Wall seconds of the whole read.
    [[nodiscard]] double read();

private:
    BareLine m_line;
};

// The floor of a Block Write: the same bytes on the line as the program sends (detection with
// its pause, preamble, header, packets, each chunk after its ready byte) and the same drain
// before the close, with no program logic. Wall seconds from the opening to the close.
[[nodiscard]] double bareWrite(const QString& device, const QByteArray& command,
                               const QByteArray& startPacket, const QByteArray& endPacket,
                               const QByteArray& data, int chunk);

// The median wall seconds of `runs` bare reads, each on a fresh opening of the device.
[[nodiscard]] double bareReadMedian(const QString& device, int runs);
