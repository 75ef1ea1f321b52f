#pragma once

#include <QString>

#include <functional>
#include <optional>

// What a job needs to know of its part: the name as the parts file spells it, its size and
// the unit the board moves it in. The caller looks parts up (the parts file and the board's
// block rules are not this folder's business).
struct JobPart {
    QString name;
    qint64 size = 0;
    int blockSize = 1;
};

// Finds a part by the name a job gives (any case); nothing when there is no such part.
using JobPartLookup = std::function<std::optional<JobPart>(const QString& name)>;
