#pragma once

#include "link/LinkFactory.h"

// The program's links: the system's serial ports and the steady clock.
class SystemLinkFactory final : public LinkFactory {
public:
    [[nodiscard]] std::unique_ptr<SerialPort> makePort(const LinkSettings& link) override;
    [[nodiscard]] std::unique_ptr<LinkClock> makeClock(const LinkSettings& link) override;
};
