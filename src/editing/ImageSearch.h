#pragma once

#include "editing/AddressRange.h"

#include <QBitArray>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// Finding a byte pattern in the image. A match lies wholly inside the image: it never runs
// over the end into address 0.
namespace ImageSearch {

struct Match {
    qint64 address = 0;
    bool wrapped = false;  // found only after going round past the image's end (or start)
};

// The first match at `from` or after; when there is none, the first from address 0 on,
// flagged as wrapped. Find Next from a match passes the match's address + 1.
[[nodiscard]] std::optional<Match> findNext(QByteArrayView image, QByteArrayView pattern,
                                            qint64 from);
// The last match at `from` or before; when there is none, the last one from the end back,
// flagged as wrapped. Find Previous from a match passes the match's address - 1.
[[nodiscard]] std::optional<Match> findPrevious(QByteArrayView image, QByteArrayView pattern,
                                                qint64 from);

// Every match beginning in `within`, overlapping ones included (each one is marked in the
// grid), up to `limit` of them: searching 0xFF on a blank 1 Mbit image finds one at every
// address.
struct Matches {
    static constexpr qsizetype kDefaultLimit = 10000;

    QList<qint64> addresses;  // in address order
    bool truncated = false;   // there are more than the limit: the search stopped there

    // Bit n set: byte n belongs to a match, for an image of `size` bytes.
    [[nodiscard]] QBitArray markedBytes(qint64 size, qint64 patternLength) const;
};
[[nodiscard]] Matches findAll(QByteArrayView image, QByteArrayView pattern, AddressRange within,
                              qsizetype limit = Matches::kDefaultLimit);

}  // namespace ImageSearch
