#pragma once

// What the link and command-line benchmarks share: qzpgm-sim on a pseudo-terminal, the bare
// blocking client that sets the floor for a Block Read of the 1 Mbit part, and medians.
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

// The floor: a Block Read of the whole 1 Mbit part (24C1024: 8,192 chunks of 16 bytes) by a
// bare client with blocking reads and writes and no event loop, with the program's fixed
// pauses kept, so that what remains of a program's figure above it is the program's own.
class BareReader {
public:
    static constexpr int kPartSize = 131072;
    static constexpr int kChunk = 16;

    explicit BareReader(const QString& device);
    BareReader(const BareReader&) = delete;
    BareReader& operator=(const BareReader&) = delete;
    ~BareReader();

    // Wall seconds of the whole read.
    [[nodiscard]] double read();

private:
    void send(const QByteArray& bytes);
    void receive(int count);

    int m_fd = -1;
};

// The median wall seconds of `runs` bare reads, each on a fresh opening of the device.
[[nodiscard]] double bareReadMedian(const QString& device, int runs);
