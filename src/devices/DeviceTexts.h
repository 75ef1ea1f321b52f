#pragma once

#include <QList>
#include <QString>

class DeviceRecord;
struct SelectedDevice;

// The texts and lists that a device selection puts on the main window.

// Lbl_PageSize: memory size, and for I2C parts the page size on a second line.
[[nodiscard]] QString pageSizeLabelText(const SelectedDevice& device);

// Lbl_Spec: supply voltage, endurance, density, write and clock speed, for I2C and Microwire parts.
[[nodiscard]] QString specLineText(const SelectedDevice& device, const DeviceRecord& record);

// The access sizes offered in CmbSize: from the page size (at least 2 for I2C, 64 for Microwire)
// doubling up to the memory size. A page size that is not a power of two can end above it.
[[nodiscard]] QList<qint64> accessSizes(const SelectedDevice& device);
