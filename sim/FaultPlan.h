#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The board failures the emulator is told to show (--fault KIND[@N]). Chunk faults count the
// chunks of each transfer from 1 and strike in every transfer; the others strike every time.
//
//   no-answer         the board answers nothing at all
//   wrong-id          the identification text does not begin with "QZ-PGM"
//   short-id          the identification reply stops after 16 bytes
//   no-prep-answer    the preparation command gets no answer
//   short-chunk@N     read chunk N is one byte short (default N = 1)
//   wrong-ready@N     the ready byte before write chunk N is "!" (followed by "@")
//   silence@N         after N chunks the board sends nothing more in that transfer (N may be 0)
//   garbage@N         line noise arrives before read chunk N or the ready byte of write chunk N
//   extra@N           read chunk N, or the ready byte of write chunk N, is followed by 4 more bytes
//   drop@N            the line goes away in the middle of chunk N; the emulator ends
//   hangup@N          the line hangs up in the middle of chunk N; the board stays, a write
//                     waiting for the rest of its range
//   flip@N            write chunk N is stored with one bit wrong (bit 0 of its first byte)
//   flipread@N        read chunk N comes back with bit 0 of its first byte wrong; the part
//                     keeps the right data
//   nochip            the socket is empty: writes are not stored, reads give 0xFF
//   random:SEED:RATE  each chunk meets a failure with probability RATE (RandomFaults)
class FaultPlan {
public:
    enum class Kind {
        NoAnswer,
        WrongId,
        ShortId,
        NoPrepAnswer,
        ShortChunk,
        WrongReady,
        Silence,
        Garbage,
        Extra,
        Drop,
        HangUp,
        Flip,
        FlipRead,
        NoChip,
    };

    struct Random {
        std::uint64_t seed = 0;
        double rate = 0;
    };

    // Adds one --fault value; false with `error` set when it is not one of the kinds above.
    bool add(const QString& text, QString* error);

    [[nodiscard]] bool has(Kind kind) const;
    // True when `kind` strikes at chunk `chunk` (counted from 1) of a transfer.
    [[nodiscard]] bool strikesAt(Kind kind, int chunk) const;
    // The chunk count after which the board falls silent, when silence is planned.
    [[nodiscard]] std::optional<int> silenceAfter() const;
    // The seeded random failures, when planned.
    [[nodiscard]] const std::optional<Random>& random() const { return m_random; }

    [[nodiscard]] static QStringList kindNames();

private:
    struct Fault {
        Kind kind;
        int chunk;
    };
    bool addRandom(const QString& text, QString* error);

    QList<Fault> m_faults;
    std::optional<Random> m_random;
};
