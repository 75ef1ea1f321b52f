#pragma once

#include "link/LinkFactory.h"
#include "production/ProductionJob.h"
#include "production/RoundResult.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <random>
#include <vector>

// Emulated boards for production rounds in fake time: one line per device path, each with a
// clock of its own (the boards run on threads of their own), and a fresh board on every line
// for every round with the faults the test chose, so that each round's chip can be looked at
// once the round is over. Boards of earlier rounds are kept until the end.
class RoundLines final : public LinkFactory {
public:
    RoundLines(const QStringList& paths, const QString& part);

    // The boards of the next round: `faults[i]` (--fault values) for the board at path i.
    void nextRound(const QList<QStringList>& faults);
    // In the next round, the port of board `index` calls `action` on the board's thread just
    // before the PC's `writes`-th write to it (its first ones identify the board and send the
    // range, then come the chunks).
    void atWrite(int index, int writes, std::function<void()> action);
    // Lets the last page's programming time pass on every line.
    void settle();

    [[nodiscard]] EmulatedBoard& board(int index) const;
    [[nodiscard]] const QStringList& paths() const { return m_paths; }
    [[nodiscard]] QList<LinkSettings> links() const;

    [[nodiscard]] std::unique_ptr<SerialPort> makePort(const LinkSettings& link) override;
    [[nodiscard]] std::unique_ptr<LinkClock> makeClock(const LinkSettings& link) override;

private:
    struct Line {
        FakeLinkClock clock;
        std::vector<std::unique_ptr<EmulatedBoards>> rounds;
        int actionWrites = 0;
        std::function<void()> action;
    };
    [[nodiscard]] Line& line(const QString& path) const;

    QStringList m_paths;
    QString m_part;
    std::vector<std::unique_ptr<Line>> m_lines;
};

// A job for the round tests: the whole of `part` (a pattern), one decimal serial field
// "serial" of 8 digits at 0x10, and the rule for a failed chip's numbers.
[[nodiscard]] ProductionJob roundJob(const QString& part, FailurePolicy policy);

// The faults of one board for one round, drawn from the emulator's kinds (silence, drop,
// flip, garbage, wrong-ready, nochip) at a chunk within the part's `chunks`; none about half
// of the time.
[[nodiscard]] QStringList randomFaults(std::mt19937& random, int chunks);

// Whether the round's record says what happened to `board`'s chip (fresh and blank before the
// round) under `job`, with the faults it had: empty when it does, else what is wrong. A board
// without faults must have verified; a verified chip must hold the image with its serial.
[[nodiscard]] QString judgeRound(const RoundResult& result, const EmulatedBoard& board,
                                 const ProductionJob& job, const QStringList& faults);

// Where the records of a log give a serial number to two chips: each serial text held by a
// chip whose numbers were not given back, met a second time. Empty when none is.
[[nodiscard]] QStringList numbersIssuedTwice(const QList<ChipRecord>& records);
