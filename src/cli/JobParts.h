#pragma once

#include "devices/CatalogueLoad.h"
#include "production/CatalogueParts.h"

#include <QString>

#include <optional>

class CliConsole;

// The parts file of a production command, vorle6.ini beside the program or --data FILE;
// nothing, after saying so on `console`, when it cannot be read.
[[nodiscard]] std::optional<CatalogueLoad> readPartsFile(const QString& dataFile,
                                                         const QString& appFolder,
                                                         CliConsole& console);
