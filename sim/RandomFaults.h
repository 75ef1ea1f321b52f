#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <random>

// Seeded random board failures (--fault random:SEED:RATE): every chunk of a transfer meets one
// failure with probability RATE, its kind and where it strikes drawn from the same generator.
// The same seed and the same exchange on the line give the same failures, on any system: the
// draws use the generator's raw output only, never a library's distributions.
class RandomFaults {
public:
    enum class Kind {
        DropByte,    // one byte of the chunk is lost on the line
        ExtraBytes,  // line noise: bytes nobody sent
        FlipRead,    // read data: one bit wrong on its way back; the part keeps the right one
        FlipWrite,   // write data: stored with one bit wrong
        Stall,       // the board falls silent for the rest of the transfer
        HangUp,      // the line goes away in the middle of the chunk
    };

    struct Fault {
        Kind kind = Kind::DropByte;
        int byteIndex = 0;      // the chunk byte it strikes
        int bit = 0;            // FlipRead, FlipWrite
        QByteArray noise;       // ExtraBytes: 1 to 4 bytes
        bool fromBoard = true;  // ExtraBytes: noise to the PC (else into the board's chunk)
        bool before = true;     // ExtraBytes from the board: before the chunk or ready byte
    };

    RandomFaults(std::uint64_t seed, double rate) : m_generator(seed), m_rate(rate) {}

    // The failure of the next chunk (`chunkSize` bytes, read or write), if it meets one.
    [[nodiscard]] std::optional<Fault> next(bool writing, int chunkSize);

    [[nodiscard]] static QString kindName(Kind kind);

private:
    [[nodiscard]] double fraction();     // [0, 1)
    [[nodiscard]] int below(int bound);  // [0, bound)

    std::mt19937_64 m_generator;
    double m_rate = 0;
};
