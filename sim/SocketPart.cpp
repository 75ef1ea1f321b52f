#include "sim/SocketPart.h"

#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "devices/SelectedDevice.h"

#include <QRegularExpression>

namespace {

constexpr int kMicrowire = SelectedDevice::kFamilyMicrowire;
constexpr int kI2c = SelectedDevice::kFamilyI2c;

// "5ms", "10ms": the data file's write time; anything else keeps the 24Cxx's usual 5 ms.
std::chrono::microseconds writeCycleOf(const QString& word)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d+(?:\.\d+)?)ms$)"));
    const auto match = pattern.match(word.trimmed());
    if (!match.hasMatch()) return std::chrono::microseconds{5000};
    return std::chrono::microseconds{static_cast<qint64>(match.captured(1).toDouble() * 1000)};
}

int usualPageSize(int family, int sizeExponent)
{
    if (family == kMicrowire || sizeExponent <= 4) return 1;
    if (sizeExponent <= 8) return 8;
    if (sizeExponent <= 11) return 16;
    if (sizeExponent <= 13) return 32;
    if (sizeExponent <= 15) return 64;
    return 128;
}

bool checkGeometry(const SocketPart& spec, QString* error)
{
    if (spec.family != kI2c && spec.family != kMicrowire) {
        *error = QStringLiteral("family %1: only 2 (I2C) and 3 (Microwire) exist").arg(spec.family);
        return false;
    }
    if (spec.sizeExponent < SelectedDevice::kMinSizeExponent ||
        spec.sizeExponent > SelectedDevice::kMaxSizeExponent) {
        *error = QStringLiteral("size exponent %1: the parts hold 2^%2 to 2^%3 bytes")
                     .arg(spec.sizeExponent)
                     .arg(SelectedDevice::kMinSizeExponent)
                     .arg(SelectedDevice::kMaxSizeExponent);
        return false;
    }
    if (spec.pageSize < 1 || spec.pageSize > spec.size()) {
        *error = QStringLiteral("page size %1 does not fit a part of %2 bytes")
                     .arg(spec.pageSize)
                     .arg(spec.size());
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
    SocketPart spec;
    spec.name = name;
    spec.family = device.Family;
    spec.sizeExponent = device.SizeExponent;
    spec.pageSize = device.Family == kMicrowire ? 1 : device.PageSize;
    spec.writeCycle = writeCycleOf(catalogue.record(index).field(DeviceRecord::WriteSpeed));
    if (!checkGeometry(spec, error)) return std::nullopt;
    return spec;
}

std::optional<SocketPart> SocketPart::fromGeometry(int family, int sizeExponent, int pageSize,
                                                   QString* error)
{
    SocketPart spec;
    spec.family = family;
    spec.sizeExponent = sizeExponent;
    spec.pageSize = pageSize > 0 ? pageSize : usualPageSize(family, sizeExponent);
    spec.name =
        QStringLiteral("%1 x 2^%2").arg(family == kMicrowire ? "93Cxx" : "24Cxx").arg(sizeExponent);
    if (family == kMicrowire) spec.writeCycle = std::chrono::microseconds{10000};
    if (!checkGeometry(spec, error)) return std::nullopt;
    return spec;
}
