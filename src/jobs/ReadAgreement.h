#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>

// One address where repeated reads of the chip gave different bytes.
struct ReadDisagreement {
    qint64 address = 0;
    QList<std::uint8_t> values;            // what each read gave, in the order of the reads
    std::optional<std::uint8_t> majority;  // the byte more than half of the reads gave
};

// How repeated reads of one range agreed. A contact that comes and goes (a test clip, a worn
// socket, long wires) shows as reads that differ; a byte more than half of the reads agree on
// is taken, and an address without such a byte leaves the reads unusable.
struct ReadAgreement {
    // The differing addresses listed in full, as many as a comparison lists.
    static constexpr int kListed = 256;

    int reads = 1;
    qint64 differing = 0;           // addresses where the reads differ
    qint64 undecided = 0;           // of those, the addresses where no byte has a majority
    QList<ReadDisagreement> first;  // the first kListed differing addresses, in address order
    // Bit n set: the reads differ at address n. Empty when they agree; else as long as a read.
    QBitArray differingAt;

    // Every read gave the same bytes.
    [[nodiscard]] bool unanimous() const { return differing == 0; }
    // Every address has a byte that more than half of the reads gave: the reads can be used.
    [[nodiscard]] bool decided() const { return undecided == 0; }
};

struct ReadsCompared {
    ReadAgreement agreement;
    // Each address's agreed byte: the reads' common one, or the majority's. Empty when some
    // address has none.
    QByteArray agreed;
};

// Compares reads of one length with one another, byte by byte. Two reads that differ never have
// a majority; three or more can.
[[nodiscard]] ReadsCompared compareReads(const QList<QByteArray>& reads);
