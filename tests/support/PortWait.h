#pragma once

#include <chrono>

class SerialPort;

// Waits in the event loop, without polling, until `port` holds at least `count` received bytes
// or `limit` has passed. True when the bytes are there.
bool waitForReceived(SerialPort& port, int count,
                     std::chrono::milliseconds limit = std::chrono::seconds{20});
