#include "cli/JobParts.h"

#include "cli/CliConsole.h"

#include <QDir>

std::optional<CatalogueLoad> readPartsFile(const QString& dataFile, const QString& appFolder,
                                           CliConsole& console)
{
    const QString path =
        dataFile.isEmpty() ? QDir(appFolder).filePath(QStringLiteral("vorle6.ini")) : dataFile;
    CatalogueLoad load = loadCatalogue(path);
    if (load.read) return load;
    console.error(
        QStringLiteral("cannot read the parts file %1 (give another with --data FILE)").arg(path));
    return std::nullopt;
}
