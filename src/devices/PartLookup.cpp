#include "devices/PartLookup.h"

#include "devices/DeviceCatalogue.h"

#include <algorithm>
#include <vector>

namespace {

// Levenshtein distance: insertions, deletions and substitutions of one character each.
int editDistance(const QString& a, const QString& b)
{
    std::vector<int> previous(static_cast<std::size_t>(b.size()) + 1);
    std::vector<int> current(previous.size());
    for (std::size_t j = 0; j < previous.size(); ++j) previous[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int substitution =
                previous[static_cast<std::size_t>(j - 1)] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[static_cast<std::size_t>(j)] =
                std::min({previous[static_cast<std::size_t>(j)] + 1,
                          current[static_cast<std::size_t>(j - 1)] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[static_cast<std::size_t>(b.size())];
}

}  // namespace

int PartLookup::indexOf(const QString& name) const
{
    for (int index = 0; index < m_catalogue.size(); ++index) {
        const QString listName = m_catalogue.record(index).field(DeviceRecord::ListName);
        if (listName.compare(name, Qt::CaseInsensitive) == 0) return index;
    }
    return -1;
}

QStringList PartLookup::closestNames(const QString& name) const
{
    const QString wanted = name.toUpper();
    struct Candidate {
        int score = 0;
        int index = 0;
        QString name;
    };
    std::vector<Candidate> candidates;
    for (int index = 0; index < m_catalogue.size(); ++index) {
        const QString listName = m_catalogue.record(index).field(DeviceRecord::ListName);
        const QString upper = listName.toUpper();
        if (upper.isEmpty()) continue;
        const bool overlaps =
            !wanted.isEmpty() && (upper.contains(wanted) || wanted.contains(upper));
        candidates.push_back({overlaps ? 0 : 1 + editDistance(wanted, upper), index, listName});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
    QStringList names;
    for (const Candidate& candidate : candidates) {
        if (names.size() == kSuggestions) break;
        if (!names.contains(candidate.name)) names.append(candidate.name);
    }
    return names;
}
