#pragma once

#include "base/UserDialogs.h"

// "指定した通信ポートは使用できませんでした。" with the error icon and the system's reason as
// the detailed text: shown when the port settings window or an access cannot open the port.
[[nodiscard]] MessageBoxRequest portUnusableMessage(const QString& reason);
