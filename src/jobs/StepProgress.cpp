#include "jobs/StepProgress.h"

#include "link/ProgrammerLink.h"

#include <algorithm>

StepProgress::StepProgress(ProgrammerLink& link, AccessObserver* target, qint64 total)
    : m_link(link), m_target(target), m_total(total)
{
    if (m_target) m_link.setObserver(this);
}

StepProgress::~StepProgress()
{
    if (m_target) m_link.setObserver(m_target);
}

void StepProgress::boardIdentified(const LinkSettings& link, const QString& identification)
{
    m_target->boardIdentified(link, identification);
}

void StepProgress::boardNotConnected(const LinkSettings& link)
{
    m_target->boardNotConnected(link);
}

void StepProgress::replyTimedOut() { m_target->replyTimedOut(); }

void StepProgress::progressed(const AccessProgress& progress)
{
    AccessProgress whole;
    whole.total = std::max(m_total, m_before + progress.total);
    whole.done = m_before + progress.done;
    if (whole.total > 0) {
        whole.percent = static_cast<int>((whole.done * 100 + whole.total / 2) / whole.total);
    }
    m_target->progressed(whole);
}
