#include "cli/JobParts.h"

#include "base/RegularFile.h"
#include "cli/CliConsole.h"
#include "cli/FileTexts.h"
#include "devices/DeviceRecord.h"

#include <QDir>
#include <QFile>

std::optional<CatalogueLoad> readPartsFile(const QString& dataFile, const QString& appFolder,
                                           CliConsole& console, bool needParts)
{
    const QString path =
        dataFile.isEmpty() ? QDir(appFolder).filePath(QStringLiteral("vorle6.ini")) : dataFile;
    const QString another = QStringLiteral(" (give another with --data FILE)");
    QFile file;
    QString error;
    if (openRegularFile(file, path, error) == RegularFileOpening::NotRegular) {
        console.error(QStringLiteral("cannot read the parts file %1: ").arg(path) +
                      notRegularFileText() + another);
        return std::nullopt;
    }
    file.close();
    CatalogueLoad load = loadCatalogue(path);
    if (!load.read) {
        console.error(QStringLiteral("cannot read the parts file %1").arg(path) + another);
        return std::nullopt;
    }
    if (needParts && !hasUsablePart(load.catalogue)) {
        console.error(QStringLiteral("the parts file %1 holds no part that can be used").arg(path) +
                      another);
        return std::nullopt;
    }
    return load;
}

bool hasUsablePart(const DeviceCatalogue& catalogue)
{
    for (int index = 0; index < catalogue.size(); ++index) {
        SelectedDevice device;
        if (SelectedDevice::fromRecord(catalogue.record(index), device)) return true;
    }
    return false;
}
