#pragma once

#include <QList>

struct SelectedDevice;

// The access sizes offered in CmbSize: from the page size (at least 2 for I2C, 64 for Microwire)
// doubling up to the memory size. A page size that is not a power of two can end above it.
[[nodiscard]] QList<qint64> accessSizes(const SelectedDevice& device);
