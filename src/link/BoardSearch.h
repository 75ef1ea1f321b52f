#pragma once

#include "link/LinkSettings.h"

#include <QList>
#include <QString>

// What a search for the programmer board found: one entry per device asked, in the order
// they were asked, ending at the board when one answered.
struct BoardSearch {
    struct Probe {
        enum class Kind {
            Board,        // answered "QZ-PGM": `detail` holds the 15-character identification
            NoAnswer,     // opened, but fewer than 17 bytes came: `detail` holds how many
            OtherAnswer,  // answered something else: `detail` holds its first characters
            Held,         // another program holds it; not opened: `detail` names the holder
            Unusable,     // did not open: `detail` says why
            LineLost,     // its line went away while it was asked
        };

        LinkSettings link;
        Kind kind = Kind::NoAnswer;
        QString detail;
    };

    QList<Probe> probes;
    bool cancelled = false;

    // The probe that found the board, or none.
    [[nodiscard]] const Probe* board() const
    {
        for (const Probe& probe : probes) {
            if (probe.kind == Probe::Kind::Board) return &probe;
        }
        return nullptr;
    }
};
