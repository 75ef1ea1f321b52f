#include "link/SystemLinkFactory.h"

#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"

std::unique_ptr<SerialPort> SystemLinkFactory::makePort(const LinkSettings& link)
{
    Q_UNUSED(link);
    return std::make_unique<QtSerialPort>();
}

std::unique_ptr<LinkClock> SystemLinkFactory::makeClock(const LinkSettings& link)
{
    Q_UNUSED(link);
    return std::make_unique<SteadyLinkClock>();
}
