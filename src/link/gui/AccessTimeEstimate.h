#pragma once

#include "link/LinkClock.h"

#include <QString>

// The time text beside the window's progress bar while an access runs: "経過 0:12 / 残り 0:05".
// The remaining time assumes that the rest of the access goes at its pace so far.
class AccessTimeEstimate {
public:
    void start(LinkClock::Duration now) { m_start = now; }

    // `done` of `total` bytes moved at `now`; before the first byte only the elapsed time.
    [[nodiscard]] QString text(LinkClock::Duration now, qint64 done, qint64 total) const;

    // "0:05", "12:34", "1:02:03"
    [[nodiscard]] static QString clockText(qint64 seconds);

private:
    LinkClock::Duration m_start{0};
};
