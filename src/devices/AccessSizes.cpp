#include "devices/AccessSizes.h"

#include "base/NumberText.h"
#include "devices/SelectedDevice.h"

QList<qint64> accessSizes(const SelectedDevice& device)
{
    QList<qint64> sizes;
    auto g = static_cast<qint64>(roundHalfEven(device.PageSize / 2.0));
    if (g < 1) g = 1;
    while (device.memorySize() > g) {
        g *= 2;
        if (device.Family == BusFamily::I2c) sizes.append(g);
        if (device.Family == BusFamily::Microwire && g >= 64) sizes.append(g);
    }
    return sizes;
}
