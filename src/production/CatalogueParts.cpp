#include "production/CatalogueParts.h"

#include "devices/DeviceRecord.h"
#include "devices/PartLookup.h"
#include "link/AccessPackets.h"

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
                       chunkCount(*device, AccessMode::Block)};
    };
}
