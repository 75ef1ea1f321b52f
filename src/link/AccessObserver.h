#pragma once

#include <QString>

struct AccessOutcome;
struct LinkSettings;

// How far the data phase of an access has come: `done` of `total` bytes, and the percentage
// as the window shows it.
struct AccessProgress {
    qint64 done = 0;
    qint64 total = 0;
    int percent = 0;
};

// What an access reports while it runs. Each front-end adapts it: the window to its status
// panels, the command line to a progress bar. Every call comes from the thread that runs the
// access, between two waits.
class AccessObserver {
public:
    virtual ~AccessObserver() = default;

    // A QZ-PGM board answered on `link` with `identification` ("QZ-PGM Ver 6.00").
    virtual void boardIdentified(const LinkSettings& link, const QString& identification)
    {
        Q_UNUSED(link);
        Q_UNUSED(identification);
    }
    // The port did not open, or no QZ-PGM board answered on it.
    virtual void boardNotConnected(const LinkSettings& link) { Q_UNUSED(link); }
    // A reply wait ran out; the access fails next.
    virtual void replyTimedOut() {}
    // One more chunk has been moved.
    virtual void progressed(const AccessProgress& progress) { Q_UNUSED(progress); }
};
