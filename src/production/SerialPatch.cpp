#include "production/SerialPatch.h"

#include <optional>

SerialPatch patchSerials(const ProductionJob& job, const QList<SerialValue>& values)
{
    SerialPatch patch;
    patch.image = job.image;
    for (const SerialField& field : job.serials) {
        std::optional<QByteArray> bytes;
        for (const SerialValue& value : values) {
            if (value.field == field.name) bytes = field.encode(value.number, value.csvText);
        }
        if (!bytes || field.address + field.length > patch.image.size()) {
            patch.failedField = field.name;
            patch.image.clear();
            return patch;
        }
        patch.image.replace(field.address, field.length, *bytes);
    }
    return patch;
}
