#include "devices/DeviceTexts.h"

#include "base/NumberText.h"
#include "devices/DeviceRecord.h"
#include "devices/SelectedDevice.h"

#include <QCoreApplication>

QString pageSizeLabelText(const SelectedDevice& device)
{
    const QString memory =
        QCoreApplication::translate("DeviceTexts", "　Mem. Size: %1 byte").arg(device.memorySize());
    if (device.Family == SelectedDevice::kFamilyI2c) {
        return memory + QCoreApplication::translate("DeviceTexts", "\r\n　Page Size: %1 byte")
                            .arg(device.PageSize);
    }
    if (device.Family == SelectedDevice::kFamilyMicrowire) return memory;
    return QString();
}

QString specLineText(const SelectedDevice& device, const DeviceRecord& record)
{
    if (device.Family != SelectedDevice::kFamilyI2c &&
        device.Family != SelectedDevice::kFamilyMicrowire) {
        return QString();
    }
    return QStringLiteral("VDD:") + record.field(DeviceRecord::Vdd) + QStringLiteral(" ") +
           QStringLiteral("Endurance:") + record.field(DeviceRecord::Endurance) +
           QStringLiteral(" ") + QStringLiteral("Density:") + record.field(DeviceRecord::Density) +
           QStringLiteral(" ") + QStringLiteral("WriteSpeed:") +
           record.field(DeviceRecord::WriteSpeed) + QStringLiteral(" ") +
           QStringLiteral("ClockSpeed:") + record.field(DeviceRecord::ClockSpeed) +
           QStringLiteral(" ");
}

QList<qint64> accessSizes(const SelectedDevice& device)
{
    QList<qint64> sizes;
    auto g = static_cast<qint64>(roundHalfEven(device.PageSize / 2.0));
    if (g < 1) g = 1;
    while (device.memorySize() > g) {
        g *= 2;
        if (device.Family == SelectedDevice::kFamilyI2c) sizes.append(g);
        if (device.Family == SelectedDevice::kFamilyMicrowire && g >= 64) sizes.append(g);
    }
    return sizes;
}
