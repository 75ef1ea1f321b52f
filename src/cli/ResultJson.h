#pragma once

#include <QJsonObject>

struct BoardResult;

// One board's result as a JSON object: port, portNumber (0 for a device path), part,
// operation, outcome, exitCode, bytes, seconds, firstMismatch ({address, expected, actual} or
// null), mismatches, identification, message, and for a read the file, for a failed write the
// last address written (lastAddressWritten, -1 when none).
[[nodiscard]] QJsonObject resultJson(const BoardResult& result);
