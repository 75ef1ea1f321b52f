#include "image/ImageComparison.h"

#include <cstring>

namespace {

template <typename ExpectedAt>
Comparison compare(const QByteArray& actual, qint64 start, qint64 length, ExpectedAt expectedAt)
{
    Comparison result;
    result.compared = length;
    for (qint64 address = start; address < start + length; ++address) {
        const auto want = expectedAt(address);
        const auto have = static_cast<std::uint8_t>(actual.at(address));
        if (want == have) continue;
        if (result.mismatches == 0) result.differing.resize(actual.size());
        result.differing.setBit(address);
        ++result.mismatches;
        if (result.first.size() < Comparison::kListed) result.first.append({address, want, have});
    }
    return result;
}

}  // namespace

Comparison compareRange(const QByteArray& expected, const QByteArray& actual, qint64 start,
                        qint64 length)
{
    // Equal ranges are the usual case: one memcmp instead of a byte loop.
    if (std::memcmp(expected.constData() + start, actual.constData() + start,
                    static_cast<size_t>(length)) == 0) {
        Comparison result;
        result.compared = length;
        return result;
    }
    return compare(actual, start, length,
                   [&](qint64 address) { return static_cast<std::uint8_t>(expected.at(address)); });
}

Comparison compareWithBlank(const QByteArray& actual, qint64 start, qint64 length)
{
    return compare(actual, start, length, [](qint64) { return std::uint8_t{0xFF}; });
}
