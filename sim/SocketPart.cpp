#include "sim/SocketPart.h"

#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "devices/SelectedDevice.h"

namespace {

int usualPageSize(BusFamily family, int sizeExponent)
{
    if (family == BusFamily::Microwire || sizeExponent <= 4) return 1;
    if (sizeExponent <= 8) return 8;
    if (sizeExponent <= 11) return 16;
    if (sizeExponent <= 13) return 32;
    if (sizeExponent <= 15) return 64;
    return 128;
}

bool checkGeometry(const SocketPart& part, QString* error)
{
    if (!isKnownBus(part.family)) {
        *error = QStringLiteral("family %1: only 2 (I2C) and 3 (Microwire) exist")
                     .arg(static_cast<int>(part.family));
        return false;
    }
    if (part.sizeExponent < SelectedDevice::kMinSizeExponent ||
        part.sizeExponent > SelectedDevice::kMaxSizeExponent) {
        *error = QStringLiteral("size exponent %1: the parts hold 2^%2 to 2^%3 bytes")
                     .arg(part.sizeExponent)
                     .arg(SelectedDevice::kMinSizeExponent)
                     .arg(SelectedDevice::kMaxSizeExponent);
        return false;
    }
    if (part.pageSize < 1 || part.pageSize > part.size()) {
        *error = QStringLiteral("page size %1 does not fit a part of %2 bytes")
                     .arg(part.pageSize)
                     .arg(part.size());
        return false;
    }
    return true;
}

}  // namespace

std::optional<SocketPart> SocketPart::fromDataFile(const QString& dataFile, const QString& name,
                                                   QString* error)
{
    const auto contents = readDataFile(dataFile);
    if (!contents) {
        *error = QStringLiteral("%1: cannot be read").arg(dataFile);
        return std::nullopt;
    }
    const DeviceCatalogue catalogue(contents->rows);
    const int index = catalogue.indexOf(name);
    if (index < 0) {
        *error = QStringLiteral("%1: no device named %2").arg(dataFile, name);
        return std::nullopt;
    }
    SelectedDevice device;
    if (!SelectedDevice::fromRecord(catalogue.record(index), device)) {
        *error = QStringLiteral(
                     "%1: its row in %2 cannot be used (a number is missing or the "
                     "size is outside 16 to 131072 bytes)")
                     .arg(name, dataFile);
        return std::nullopt;
    }
    SocketPart part;
    part.name = name;
    part.family = device.Family;
    part.sizeExponent = device.SizeExponent;
    part.pageSize = device.Family == BusFamily::Microwire ? 1 : device.PageSize;
    part.writeCycle = device.WriteTime;
    if (!checkGeometry(part, error)) return std::nullopt;
    return part;
}

std::optional<SocketPart> SocketPart::fromGeometry(int family, int sizeExponent, int pageSize,
                                                   QString* error)
{
    SocketPart part;
    part.family = static_cast<BusFamily>(family);
    const bool microwire = part.family == BusFamily::Microwire;
    part.sizeExponent = sizeExponent;
    part.pageSize = pageSize > 0 ? pageSize : usualPageSize(part.family, sizeExponent);
    part.name = QStringLiteral("%1 x 2^%2").arg(microwire ? "93Cxx" : "24Cxx").arg(sizeExponent);
    if (microwire) part.writeCycle = std::chrono::microseconds{10000};
    if (!checkGeometry(part, error)) return std::nullopt;
    return part;
}
