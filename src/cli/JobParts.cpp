#include "cli/JobParts.h"

#include "cli/AccessRange.h"
#include "cli/CliConsole.h"
#include "cli/PartLookup.h"
#include "devices/DeviceRecord.h"

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

std::optional<SelectedDevice> jobDevice(const DeviceCatalogue& catalogue, const QString& name)
{
    const int index = PartLookup(catalogue).indexOf(name);
    if (index < 0) return std::nullopt;
    SelectedDevice device;
    if (!SelectedDevice::fromRecord(catalogue.record(index), device)) return std::nullopt;
    return device;
}

JobPartLookup jobPartLookup(const DeviceCatalogue& catalogue)
{
    return [&catalogue](const QString& name) -> std::optional<JobPart> {
        const std::optional<SelectedDevice> device = jobDevice(catalogue, name);
        if (!device) return std::nullopt;
        const int index = PartLookup(catalogue).indexOf(name);
        return JobPart{catalogue.record(index).field(DeviceRecord::ListName), device->memorySize(),
                       blockSizeOf(*device)};
    };
}
