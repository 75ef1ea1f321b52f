#include "link/TransferPlan.h"

#include "devices/SelectedDevice.h"

namespace {

TransferPlanResult refuse(const QString& text) { return {std::nullopt, text}; }

}  // namespace

QByteArray TransferPlan::startPacket() const
{
    return Build_Address_Packet(chunkCount, start, family, microwireParam);
}

QByteArray TransferPlan::endPacket() const
{
    return Build_Address_Packet(chunkCount, end, family, microwireParam);
}

TransferPlanResult planTransfer(const TransferRequest& request)
{
    if (!request.device || !request.device->has_value()) {
        return refuse(QStringLiteral("デバイスが選択されていません。"));
    }
    const SelectedDevice& device = **request.device;
    if (device.Family != SelectedDevice::kFamilyI2c &&
        device.Family != SelectedDevice::kFamilyMicrowire) {
        return refuse(
            QStringLiteral("このデバイスの種類（%1）は読み書きできません。").arg(device.Family));
    }

    TransferPlan plan;
    plan.mode = request.mode;
    plan.family = device.Family;
    plan.commandVariant = device.CommandVariant;
    plan.microwireParam = device.MicrowireParam;
    plan.chunkCount = chunkCount(device, request.mode);
    if (plan.chunkCount < 1) {
        return refuse(QStringLiteral("このデバイスのページサイズ（%1）では読み書きできません。")
                          .arg(device.PageSize));
    }

    if (request.mode == AccessMode::Byte) {
        if (!request.cellAddress || *request.cellAddress < 0 ||
            *request.cellAddress >= request.imageSize) {
            return refuse(QStringLiteral(
                "バイト単位の読み書きは、グリッドでデータのセルを選んでから行ってください。"));
        }
        plan.start = plan.end = static_cast<std::int32_t>(*request.cellAddress);
        return {plan, {}};
    }

    if (request.accessSize < 1) {
        return refuse(QStringLiteral("アクセスサイズが選ばれていません。"));
    }
    // The board moves whole chunks, so the last one may reach past the access size.
    const std::int64_t chunks = (request.accessSize + plan.chunkCount - 1) / plan.chunkCount;
    if (chunks * plan.chunkCount > request.imageSize) {
        return refuse(QStringLiteral("アクセスサイズ %1 バイトがメモリーの大きさ %2 バイトを"
                                     "超えるため、読み書きできません。")
                          .arg(request.accessSize)
                          .arg(request.imageSize));
    }
    plan.start = 0;
    plan.end = static_cast<std::int32_t>(request.accessSize - 1);
    return {plan, {}};
}
