#include "jobs/WriteSpans.h"

#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"
#include "link/TransferPlan.h"

#include <algorithm>
#include <cstring>

namespace {

// "?" twice, the 17-byte identification, "E" "e2P" and its one-byte answer, "E" "e2W", and two
// address packets of four bytes.
constexpr int kFramingBytes = 2 + ProgrammerLink::kIdentificationReply + 4 + 1 + 4 + 2 * 4;
constexpr int kCommandPauses = 5;

}  // namespace

LinkClock::Duration writeAccessOverhead(const TransferPlan& plan)
{
    return ProgrammerLink::kQueryPause + kCommandPauses * ProgrammerLink::kCommandPause +
           SerialPort::kByteTime * kFramingBytes + ProgrammerLink::lastChunkAnswerLimit(plan);
}

LinkClock::Duration writeChunkTime(const TransferPlan& plan)
{
    return SerialPort::kByteTime * (plan.chunkCount + 1) + plan.chunkProgrammingTime();
}

qint64 joinedChunkGap(const TransferPlan& plan)
{
    return writeAccessOverhead(plan) / writeChunkTime(plan);
}

QList<WriteSpan> changedSpans(const TransferPlan& plan, const QByteArray& chip,
                              const QByteArray& image)
{
    QList<WriteSpan> spans;
    const qint64 chunk = plan.chunkCount;
    const qint64 end = plan.start + plan.chunkedByteCount();
    const qint64 gap = joinedChunkGap(plan);
    for (qint64 address = plan.start; address < end; address += chunk) {
        if (std::memcmp(chip.constData() + address, image.constData() + address,
                        static_cast<size_t>(chunk)) == 0) {
            continue;
        }
        if (!spans.isEmpty() && address - spans.last().end() <= gap * chunk) {
            spans.last().length = address + chunk - spans.last().offset;
        } else {
            spans.append({address, chunk});
        }
    }
    // The last chunk may reach past the range, as the board moves whole chunks: the span's
    // length stays the range's.
    const qint64 rangeEnd = qint64{plan.end} + 1;
    if (!spans.isEmpty() && spans.last().end() > rangeEnd) {
        spans.last().length = rangeEnd - spans.last().offset;
    }
    return spans;
}
