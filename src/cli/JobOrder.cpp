#include "cli/JobOrder.h"

QString chipStepName(ChipStep step)
{
    switch (step) {
        case ChipStep::Detect:
            return QStringLiteral("detect");
        case ChipStep::Read:
            return QStringLiteral("read");
        case ChipStep::Write:
            return QStringLiteral("write");
        case ChipStep::Verify:
            return QStringLiteral("verify");
        case ChipStep::BlankCheck:
            return QStringLiteral("blank check");
        case ChipStep::Erase:
            return QStringLiteral("erase");
    }
    return {};
}
