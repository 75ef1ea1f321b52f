#pragma once

#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <memory>

struct LinkSettings;

// Makes the port and the clock of one board's link. Each board gets its own pair, made on the
// thread that runs the board, so the calls may come from several threads at once. The program
// makes real ports and the steady clock; tests make emulated boards in fake time.
class LinkFactory {
public:
    virtual ~LinkFactory() = default;

    [[nodiscard]] virtual std::unique_ptr<SerialPort> makePort(const LinkSettings& link) = 0;
    [[nodiscard]] virtual std::unique_ptr<LinkClock> makeClock(const LinkSettings& link) = 0;
};
