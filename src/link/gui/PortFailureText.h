#pragma once

#include "link/PortOpenFailure.h"

#include <QString>

// How the window words a port that did not open: the device, the system's words, and what the
// user can do ("Permission denied" with the group to join, a missing device, a port in use).

// "COM3 (/dev/ttyUSB2): Permission denied\n\n…": the message box's detail.
[[nodiscard]] QString portFailureText(const PortOpenFailure& failure);
// The same without the leading device, for a place that names the device already.
[[nodiscard]] QString portFailureDetail(const PortOpenFailure& failure);
