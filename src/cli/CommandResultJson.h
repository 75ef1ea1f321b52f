#pragma once

#include <QJsonObject>
#include <QString>

// The JSON result of a command that has no board's result to give: one refused before any
// board was touched (the command line, a file, the parts file, the ports, the line database),
// interrupted before it began, or one that touches no board (job new, job check). The fields
// of a board's result that a script reads first: port and part (null), operation, outcome
// ("done", "usage-error", "file-error", "port-unusable", "transfer-failed", "mismatch",
// "interrupted"), exitCode and message.
[[nodiscard]] QJsonObject commandResultJson(const QString& operation, int exitCode,
                                            const QString& message);
