#include "link/TransferPlan.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

using Refusal = AccessOutcome::Refusal;

TransferPlanResult refuse(Refusal refusal, const QString& text)
{
    return {std::nullopt, refusal, text};
}

}  // namespace

qint64 TransferPlan::chunkedByteCount() const
{
    const qint64 chunks = (byteCount() + chunkCount - 1) / chunkCount;
    return chunks * chunkCount;
}

std::chrono::microseconds TransferPlan::chunkProgrammingTime() const
{
    return family == SelectedDevice::kFamilyMicrowire ? writeTime * chunkCount : writeTime;
}

QByteArray TransferPlan::startPacket() const
{
    return Build_Address_Packet(chunkCount, start, family, microwireParam);
}

QByteArray TransferPlan::endPacket() const
{
    return Build_Address_Packet(chunkCount, end, family, microwireParam);
}

TransferPlanResult planTransfer(const TransferRequest& request, std::int64_t imageSize)
{
    if (!request.device) {
        return refuse(Refusal::NoDevice, QCoreApplication::translate(
                                             "TransferPlan", "デバイスが選択されていません。"));
    }
    const SelectedDevice& device = *request.device;
    if (device.Family != SelectedDevice::kFamilyI2c &&
        device.Family != SelectedDevice::kFamilyMicrowire) {
        return refuse(Refusal::UnknownFamily,
                      QCoreApplication::translate("TransferPlan",
                                                  "このデバイスの種類（%1）は読み書きできません。")
                          .arg(device.Family));
    }

    TransferPlan plan;
    plan.mode = request.mode;
    plan.family = device.Family;
    plan.commandVariant = device.CommandVariant;
    plan.microwireParam = device.MicrowireParam;
    plan.writeTime = device.WriteTime;
    plan.chunkCount = chunkCount(device, request.mode);
    if (plan.chunkCount < 1) {
        return refuse(
            Refusal::NoChunk,
            QCoreApplication::translate("TransferPlan",
                                        "このデバイスのページサイズ（%1）では読み書きできません。")
                .arg(device.PageSize));
    }
    // Neither the image nor the part may be overrun: the part's address counter would wrap.
    const std::int64_t limit = std::min<std::int64_t>(imageSize, device.memorySize());

    if (request.mode == AccessMode::Byte) {
        if (!request.cellAddress || *request.cellAddress < 0 || *request.cellAddress >= limit) {
            return refuse(
                Refusal::NotAByteCell,
                QCoreApplication::translate("TransferPlan",
                                            "バイト単位の読み書きは、グリッドでデータのセルを"
                                            "選んでから行ってください。"));
        }
        plan.start = plan.end = static_cast<std::int32_t>(*request.cellAddress);
        return {plan, Refusal::None, {}};
    }

    if (request.accessSize < 1) {
        return refuse(
            Refusal::NoAccessSize,
            QCoreApplication::translate("TransferPlan", "アクセスサイズが選ばれていません。"));
    }
    if (request.offset < 0 || request.offset % plan.chunkCount != 0) {
        return refuse(Refusal::Misaligned,
                      QCoreApplication::translate(
                          "TransferPlan", "開始アドレス %1 は %2 バイト単位の境界にありません。")
                          .arg(request.offset)
                          .arg(plan.chunkCount));
    }
    // The board moves whole chunks, so the last one may reach past the access size.
    const std::int64_t chunks = (request.accessSize + plan.chunkCount - 1) / plan.chunkCount;
    if (request.offset + chunks * plan.chunkCount > limit) {
        return refuse(
            Refusal::OutsideImage,
            QCoreApplication::translate("TransferPlan",
                                        "アクセスサイズ %1 バイトがメモリーの大きさ %2 バイトを"
                                        "超えるため、読み書きできません。")
                .arg(request.accessSize)
                .arg(limit - request.offset));
    }
    plan.start = static_cast<std::int32_t>(request.offset);
    plan.end = static_cast<std::int32_t>(request.offset + request.accessSize - 1);
    return {plan, Refusal::None, {}};
}
