#pragma once

#include "link/LinkClock.h"

#include <QByteArray>
#include <QList>

struct TransferPlan;

// A block range that one write access sends.
struct WriteSpan {
    qint64 offset = 0;
    qint64 length = 0;

    [[nodiscard]] qint64 end() const { return offset + length; }
    friend bool operator==(const WriteSpan& a, const WriteSpan& b)
    {
        return a.offset == b.offset && a.length == b.length;
    }
};

// What one more write access costs beyond its chunks: detection's pause and the five pauses
// between commands, the bytes of the queries, the identification, the preparation, the header
// and the packets at the line rate, and the wait for an answer after the last chunk.
[[nodiscard]] LinkClock::Duration writeAccessOverhead(const TransferPlan& plan);
// What one chunk costs inside an access: its ready byte and its bytes at the line rate, and the
// part's programming time before the board is ready for the next one.
[[nodiscard]] LinkClock::Duration writeChunkTime(const TransferPlan& plan);
// The most unchanged chunks between two changed ones that one access still sends sooner than
// two accesses would send the changed ones alone.
[[nodiscard]] qint64 joinedChunkGap(const TransferPlan& plan);

// The spans of `plan`'s block range whose chunks hold other bytes in `image` than in `chip`
// (both from address 0, both covering the range in whole chunks), in address order; changed
// chunks at most joinedChunkGap apart go in one span. None when the chip holds the image.
[[nodiscard]] QList<WriteSpan> changedSpans(const TransferPlan& plan, const QByteArray& chip,
                                            const QByteArray& image);
