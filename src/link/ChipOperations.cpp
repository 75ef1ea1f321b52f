#include "link/ChipOperations.h"

#include "base/HexText.h"
#include "image/MemoryImage.h"
#include "link/EepromTransfer.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

QString byteText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }
QString addressText(qint64 address)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(address), 5);
}

}  // namespace

TransferRequest ChipOperations::wholePart(const std::optional<SelectedDevice>& device)
{
    TransferRequest request;
    request.mode = AccessMode::Block;
    request.device = device;
    request.accessSize = device ? device->memorySize() : 0;
    return request;
}

CheckOutcome ChipOperations::verify(const LinkSettings& link, const TransferRequest& request,
                                    const QByteArray& expected, const QString& statusText)
{
    CheckOutcome result;
    MemoryImage chip;
    chip.recreate(expected.size());
    result.access = m_transfer.read(link, request, chip, statusText);
    result.chip = chip.bytes();
    if (!result.access.succeeded()) return result;
    result.comparison =
        compareRange(expected, result.chip, result.access.firstAddress, result.access.bytesDone);
    result.access.text = verifyText(result.comparison, result.access.elapsed);
    return result;
}

CheckOutcome ChipOperations::blankCheck(const LinkSettings& link, const SelectedDevice& device,
                                        const QString& statusText)
{
    CheckOutcome result;
    MemoryImage chip;
    chip.recreate(device.memorySize());
    result.access = m_transfer.read(link, wholePart(device), chip, statusText);
    result.chip = chip.bytes();
    if (!result.access.succeeded()) return result;
    result.comparison = compareWithBlank(result.chip, 0, result.access.bytesDone);
    result.access.text = blankText(result.comparison);
    return result;
}

AccessOutcome ChipOperations::erase(const LinkSettings& link, const SelectedDevice& device,
                                    const QString& statusText)
{
    const QByteArray blank(device.memorySize(), static_cast<char>(MemoryImage::kBlank));
    return m_transfer.write(link, wholePart(device), blank, statusText);
}

QString ChipOperations::verifyText(const Comparison& comparison, LinkClock::Duration elapsed)
{
    if (comparison.matches()) {
        return EepromTransfer::elapsedText(
            QCoreApplication::translate("ChipOperations", "ベリファイOK ("), elapsed);
    }
    const ByteDifference& first = comparison.first.first();
    return QCoreApplication::translate(
               "ChipOperations",
               "ベリファイエラー: %1 バイト不一致 (最初 %2: バッファ %3 / チップ %4)")
        .arg(comparison.mismatches)
        .arg(addressText(first.address), byteText(first.expected), byteText(first.actual));
}

QString ChipOperations::erasedText(LinkClock::Duration elapsed)
{
    return EepromTransfer::elapsedText(
        QCoreApplication::translate("ChipOperations", "消去終了。 ("), elapsed);
}

bool ChipOperations::allBlank(const QByteArray& bytes, qint64 start, qint64 length)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.constData() + start);
    return std::all_of(first, first + length,
                       [](std::uint8_t byte) { return byte == MemoryImage::kBlank; });
}

QString ChipOperations::blankReadHint()
{
    return QCoreApplication::translate(
        "ChipOperations",
        "  全て0xFFです: 空のチップか、チップが挿さっていないか逆向きの可能性があります。");
}

QString ChipOperations::blankText(const Comparison& comparison)
{
    if (comparison.matches())
        return QCoreApplication::translate("ChipOperations", "ブランクです (全て0xFF)");
    const ByteDifference& first = comparison.first.first();
    return QCoreApplication::translate("ChipOperations",
                                       "ブランクではありません: %1 バイトが0xFF以外 (最初 %2 = %3)")
        .arg(comparison.mismatches)
        .arg(addressText(first.address), byteText(first.actual));
}
