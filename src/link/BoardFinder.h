#pragma once

#include "link/BoardSearch.h"
#include "link/LinkClock.h"

#include <QList>

#include <chrono>
#include <functional>
#include <memory>

class PortHolders;
class ProgrammerLink;
class SerialPort;

// Looks for the programmer board on a list of devices: asks each in turn with the link's own
// identification exchange ("?" twice, 17 bytes back beginning "QZ-PGM"), with the board's line
// settings and a short limit per device, and stops at the first board. A device that another
// program holds is never opened.
//
// Runs on the thread that owns the clock, pumping its events while it waits, like an access.
class BoardFinder {
public:
    // A board answers within a few milliseconds of the second query; what has not answered in
    // this time is not the board, and a person waits for every device that stays silent.
    static constexpr auto kProbeLimit = std::chrono::milliseconds{1000};

    // Makes a closed port for the device at the given path.
    using PortFactory = std::function<std::unique_ptr<SerialPort>(const QString& devicePath)>;

    BoardFinder(PortFactory factory, LinkClock& clock, const PortHolders& holders);
    ~BoardFinder();

    void setProbeLimit(LinkClock::Duration limit) { m_probeLimit = limit; }
    [[nodiscard]] LinkClock::Duration probeLimit() const { return m_probeLimit; }
    // Called before each device is asked, for a front-end that shows the search.
    void setProgress(std::function<void(const LinkSettings&)> progress)
    {
        m_progress = std::move(progress);
    }

    // Asks `candidates` in order until one answers as the board. Every port it opened is
    // closed again when it returns.
    [[nodiscard]] BoardSearch find(const QList<LinkSettings>& candidates);

    // Ends a running find() at its next wait; the device being asked counts as not asked.
    // Call on the finder's own thread (from its event loop).
    void cancel();
    [[nodiscard]] bool running() const { return m_running; }

private:
    [[nodiscard]] BoardSearch::Probe probe(const LinkSettings& candidate);

    PortFactory m_factory;
    LinkClock& m_clock;
    const PortHolders& m_holders;
    LinkClock::Duration m_probeLimit = kProbeLimit;
    std::function<void(const LinkSettings&)> m_progress;
    ProgrammerLink* m_link = nullptr;  // the link of the device being asked
    bool m_running = false;
    bool m_cancelled = false;
};
