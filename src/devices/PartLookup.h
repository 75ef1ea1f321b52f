#pragma once

#include <QString>
#include <QStringList>

class DeviceCatalogue;

// Finds a part of the catalogue by the name a user typed: any case, and when there is no such
// part, the names closest to it, so a typo or a missing maker prefix ("93C66" for "AT93C66")
// is easy to put right.
class PartLookup {
public:
    static constexpr int kSuggestions = 5;

    explicit PartLookup(const DeviceCatalogue& catalogue) : m_catalogue(catalogue) {}

    // The first row whose name is `name` in any case, or -1.
    [[nodiscard]] int indexOf(const QString& name) const;
    // Up to kSuggestions names, the closest first: names that contain `name` or are contained
    // in it, then those fewest single-character edits away; catalogue order breaks ties.
    [[nodiscard]] QStringList closestNames(const QString& name) const;

private:
    const DeviceCatalogue& m_catalogue;
};
