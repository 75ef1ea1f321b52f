#pragma once

#include "devices/CatalogueLoad.h"
#include "production/CatalogueParts.h"

#include <QString>

#include <optional>

class CliConsole;

// The parts file of a command, vorle6.ini beside the program or --data FILE; nothing, after
// saying so on `console`, when it is not a regular file (a named pipe is never waited on), cannot
// be read, or when `needParts` and it holds no part that can be used.
[[nodiscard]] std::optional<CatalogueLoad> readPartsFile(const QString& dataFile,
                                                         const QString& appFolder,
                                                         CliConsole& console,
                                                         bool needParts = true);

// Whether a row of `catalogue` makes a part.
[[nodiscard]] bool hasUsablePart(const DeviceCatalogue& catalogue);
