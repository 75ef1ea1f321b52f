#include "jobs/ReadAgreement.h"

#include <algorithm>
#include <cstring>

namespace {

// The byte that more than half of `values` hold.
std::optional<std::uint8_t> majorityOf(const QList<std::uint8_t>& values)
{
    for (const std::uint8_t candidate : values) {
        const auto count = std::count(values.begin(), values.end(), candidate);
        if (count * 2 > values.size()) return candidate;
    }
    return std::nullopt;
}

bool allEqual(const QList<QByteArray>& reads)
{
    return std::all_of(reads.begin(), reads.end(), [&](const QByteArray& read) {
        return read.size() == reads.first().size() &&
               std::memcmp(read.constData(), reads.first().constData(),
                           static_cast<size_t>(read.size())) == 0;
    });
}

}  // namespace

ReadsCompared compareReads(const QList<QByteArray>& reads)
{
    ReadsCompared result;
    result.agreement.reads = static_cast<int>(reads.size());
    if (reads.isEmpty()) return result;
    result.agreed = reads.first();
    if (allEqual(reads)) return result;

    ReadAgreement& agreement = result.agreement;
    qint64 size = reads.first().size();
    for (const QByteArray& read : reads) size = std::min<qint64>(size, read.size());
    QList<std::uint8_t> values(reads.size());
    for (qint64 address = 0; address < size; ++address) {
        bool same = true;
        for (qsizetype i = 0; i < reads.size(); ++i) {
            values[i] = static_cast<std::uint8_t>(reads.at(i).at(address));
            same = same && values[i] == values.first();
        }
        if (same) continue;
        const std::optional<std::uint8_t> majority = majorityOf(values);
        if (agreement.differing == 0) agreement.differingAt.resize(size);
        agreement.differingAt.setBit(address);
        ++agreement.differing;
        if (majority) {
            result.agreed[address] = static_cast<char>(*majority);
        } else {
            ++agreement.undecided;
        }
        if (agreement.first.size() < ReadAgreement::kListed) {
            agreement.first.append({address, values, majority});
        }
    }
    if (!agreement.decided()) result.agreed.clear();
    return result;
}
