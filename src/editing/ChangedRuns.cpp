#include "editing/ChangedRuns.h"

#include <algorithm>
#include <cstring>

namespace {

// Equal bytes up to this many between two differences cost less than a run of their own.
constexpr qsizetype kJoinedGap = 32;
// Equal stretches are skipped in blocks of this many bytes.
constexpr qsizetype kBlock = 64;

// The first position from `from` on where the two differ; `size` when none does.
qsizetype firstDifference(const char* a, const char* b, qsizetype from, qsizetype size)
{
    while (from + kBlock <= size && std::memcmp(a + from, b + from, kBlock) == 0) from += kBlock;
    while (from < size && a[from] == b[from]) ++from;
    return from;
}

// The first position from `from` on where the two agree for more than kJoinedGap bytes (or the
// end); the differing stretch before it ends there.
qsizetype endOfDifferences(const char* a, const char* b, qsizetype from, qsizetype size)
{
    qsizetype end = from;
    while (end < size) {
        while (end < size && a[end] != b[end]) ++end;
        const qsizetype next = firstDifference(a, b, end, size);
        if (next == size || next - end > kJoinedGap) return end;
        end = next;
    }
    return end;
}

}  // namespace

ByteRuns changedRuns(QByteArrayView before, QByteArrayView after, qint64 address)
{
    ByteRuns runs;
    const qsizetype size = std::min(before.size(), after.size());
    const char* a = before.data();
    const char* b = after.data();
    qsizetype position = firstDifference(a, b, 0, size);
    while (position < size) {
        const qsizetype end = endOfDifferences(a, b, position, size);
        runs.append({address + position, QByteArray(a + position, end - position)});
        position = firstDifference(a, b, end, size);
    }
    return runs;
}
