#include "devices/PartSizeCheck.h"

#include "devices/DeviceCatalogue.h"
#include "devices/SelectedDevice.h"

#include <algorithm>

std::optional<PartSizeMismatch> partSizeMismatch(qint64 fileBytes, const SelectedDevice& part)
{
    if (fileBytes <= 0) return std::nullopt;
    PartSizeMismatch mismatch;
    mismatch.fileBytes = fileBytes;
    mismatch.partBytes = part.memorySize();
    mismatch.pageBytes = std::max<qint64>(1, part.PageSize);
    if (fileBytes > mismatch.partBytes || mismatch.partBytes - fileBytes > mismatch.pageBytes) {
        return mismatch;
    }
    return std::nullopt;
}

QStringList partsFitting(const DeviceCatalogue& catalogue, qint64 fileBytes)
{
    QStringList names;
    for (int i = 0; i < catalogue.size(); ++i) {
        SelectedDevice part;
        if (!SelectedDevice::fromRecord(catalogue.record(i), part)) continue;
        if (!partSizeMismatch(fileBytes, part)) {
            names.append(catalogue.record(i).field(DeviceRecord::ListName));
        }
    }
    return names;
}
