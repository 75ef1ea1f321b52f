#include "cli/JobOrder.h"

QString jobPhaseName(JobPhase phase)
{
    switch (phase) {
        case JobPhase::Detect:
            return QStringLiteral("detect");
        case JobPhase::Read:
            return QStringLiteral("read");
        case JobPhase::Write:
            return QStringLiteral("write");
        case JobPhase::Verify:
            return QStringLiteral("verify");
        case JobPhase::BlankCheck:
            return QStringLiteral("blank check");
        case JobPhase::Erase:
            return QStringLiteral("erase");
    }
    return {};
}
