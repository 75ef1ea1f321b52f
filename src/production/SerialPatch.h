#pragma once

#include "production/ProductionJob.h"
#include "production/SerialValue.h"

#include <QByteArray>
#include <QString>

// The image one chip gets: the job's image with each of the chip's serial values laid into
// its field. The job's own image is never changed.
struct SerialPatch {
    QByteArray image;
    QString failedField;  // the field whose value was missing or did not fit; empty on success

    [[nodiscard]] bool ok() const { return failedField.isEmpty(); }
};

// `values` holds one value for every field of `job`, in any order.
[[nodiscard]] SerialPatch patchSerials(const ProductionJob& job, const QList<SerialValue>& values);
