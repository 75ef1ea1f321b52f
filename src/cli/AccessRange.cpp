#include "cli/AccessRange.h"

#include "base/HexText.h"
#include "cli/CliOptions.h"
#include "link/AccessPackets.h"

TransferRequest AccessRange::request(const SelectedDevice& device) const
{
    TransferRequest request;
    request.mode = AccessMode::Block;
    request.device = device;
    request.offset = offset;
    request.accessSize = length;
    return request;
}

int blockSizeOf(const SelectedDevice& device) { return chunkCount(device, AccessMode::Block); }

QString addressText(qint64 address)
{
    // Addresses past 32 bits come only from the command line, and are named whole.
    const auto value = static_cast<quint64>(address);
    const auto high = static_cast<quint32>(value >> 32);
    if (high == 0) return QStringLiteral("0x") + hexText(static_cast<quint32>(value), 5);
    return QStringLiteral("0x") + hexText(high, 1) + hexText(static_cast<quint32>(value), 8);
}

AccessRangeCheck checkAccessRange(const CliOptions& options, const SelectedDevice& device,
                                  const QString& partName)
{
    AccessRangeCheck check;
    const qint64 size = device.memorySize();
    const QString bounds = QStringLiteral("the %1 holds %2 bytes, 0x00000..%3")
                               .arg(partName)
                               .arg(size)
                               .arg(addressText(size - 1));
    if (!isKnownBus(device.Family)) {
        check.error = QStringLiteral("the %1 is of family %2, which the board cannot read or write")
                          .arg(partName)
                          .arg(static_cast<int>(device.Family));
        return check;
    }
    const int block = blockSizeOf(device);
    if (block < 1) {
        check.error = QStringLiteral("the %1 has a page size of %2, which leaves nothing to move")
                          .arg(partName)
                          .arg(device.PageSize);
        return check;
    }

    AccessRange range;
    range.offset = options.offset.value_or(0);
    if (options.accessSize) {
        range.length = *options.accessSize;
    } else if (options.length) {
        range.length = *options.length;
    } else {
        range.length = size - range.offset;
    }
    range.wholePart = range.offset == 0 && range.length == size;

    if (range.offset >= size) {
        check.error = QStringLiteral("offset %1 lies beyond the end of the part (%2)")
                          .arg(addressText(range.offset), bounds);
        return check;
    }
    if (range.length < 1) {
        check.error = QStringLiteral("the length must be at least one block (%1 bytes)").arg(block);
        return check;
    }
    if (range.length > size - range.offset) {
        check.error = QStringLiteral("%1 bytes from %2 run past the end of the part (%3)")
                          .arg(range.length)
                          .arg(addressText(range.offset), bounds);
        return check;
    }
    if (range.offset % block != 0 || range.length % block != 0) {
        check.error = QStringLiteral(
                          "the range %1..%2 (%3 bytes) does not start and end on a "
                          "block: the %4 moves blocks of %5 bytes, so the offset and "
                          "the length must be multiples of %5")
                          .arg(addressText(range.offset), addressText(range.lastAddress()))
                          .arg(range.length)
                          .arg(partName)
                          .arg(block);
        return check;
    }
    // The transfer's own planning is the last word: it refuses what the board cannot do.
    const TransferPlanResult planned = planTransfer(range.request(device), size);
    if (!planned.plan) {
        check.error =
            QStringLiteral("the board cannot move the range %1..%2 of the %3")
                .arg(addressText(range.offset), addressText(range.lastAddress()), partName);
        return check;
    }
    check.range = range;
    return check;
}
