#pragma once

#include "link/AccessObserver.h"

class ProgrammerLink;

// Makes the accesses of one step (several reads of one range, the spans of a write) report as
// one: while it lives it stands between the link and the job's observer, and each access's
// progress follows on from the bytes of the accesses before it, out of the bytes of them all.
// Without an observer it does nothing.
class StepProgress : public AccessObserver {
public:
    StepProgress(ProgrammerLink& link, AccessObserver* target, qint64 total);
    ~StepProgress() override;
    StepProgress(const StepProgress&) = delete;
    StepProgress& operator=(const StepProgress&) = delete;

    // The next access begins after `bytes` more of the total.
    void advance(qint64 bytes) { m_before += bytes; }

    void boardIdentified(const LinkSettings& link, const QString& identification) override;
    void boardNotConnected(const LinkSettings& link) override;
    void replyTimedOut() override;
    void progressed(const AccessProgress& progress) override;

private:
    ProgrammerLink& m_link;
    AccessObserver* m_target = nullptr;
    qint64 m_total = 0;
    qint64 m_before = 0;
};
