#include "editing/ImageSearch.h"

#include <algorithm>

namespace ImageSearch {

std::optional<Match> findNext(QByteArrayView image, QByteArrayView pattern, qint64 from)
{
    if (pattern.isEmpty() || pattern.size() > image.size()) return std::nullopt;
    from = std::clamp<qint64>(from, 0, image.size());
    const qsizetype found = image.indexOf(pattern, from);
    if (found >= 0) return Match{found, false};
    // Round the end: a match that began before `from` and was skipped is the next one.
    const qsizetype again =
        image.first(std::min<qint64>(image.size(), from + pattern.size() - 1)).indexOf(pattern);
    if (again >= 0) return Match{again, true};
    return std::nullopt;
}

std::optional<Match> findPrevious(QByteArrayView image, QByteArrayView pattern, qint64 from)
{
    if (pattern.isEmpty() || pattern.size() > image.size()) return std::nullopt;
    if (from >= 0) {
        from = std::min<qint64>(from, image.size() - 1);
        const qsizetype found = image.lastIndexOf(pattern, from);
        if (found >= 0) return Match{found, false};
    }
    const qsizetype again = image.lastIndexOf(pattern);
    if (again > from) return Match{again, true};
    return std::nullopt;
}

Matches findAll(QByteArrayView image, QByteArrayView pattern, AddressRange within, qsizetype limit)
{
    Matches matches;
    within = within.clippedTo(image.size());
    if (pattern.isEmpty() || within.isEmpty()) return matches;
    const QByteArrayView searched = image.sliced(
        within.start,
        std::min<qint64>(image.size(), within.end() + pattern.size() - 1) - within.start);
    qsizetype at = searched.indexOf(pattern);
    while (at >= 0 && at < within.length) {
        if (matches.addresses.size() == limit) {
            matches.truncated = true;
            break;
        }
        matches.addresses.append(within.start + at);
        at = searched.indexOf(pattern, at + 1);
    }
    return matches;
}

QBitArray Matches::markedBytes(qint64 size, qint64 patternLength) const
{
    QBitArray marks(size);
    for (const qint64 address : addresses) {
        const qint64 end = std::min(size, address + patternLength);
        if (address < end) marks.fill(true, address, end);
    }
    return marks;
}

}  // namespace ImageSearch
