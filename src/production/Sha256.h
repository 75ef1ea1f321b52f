#pragma once

#include <QByteArray>
#include <QString>

// The SHA-256 of `bytes` in lower-case hexadecimal (64 digits), as jobs and the log keep it.
[[nodiscard]] QString sha256Text(const QByteArray& bytes);
