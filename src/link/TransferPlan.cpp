#include "link/TransferPlan.h"

#include <algorithm>

namespace {

using Refusal = AccessOutcome::Refusal;

TransferPlanResult refuse(Refusal refusal, qint64 value = 0, qint64 limit = 0)
{
    return {std::nullopt, refusal, value, limit};
}

}  // namespace

AccessOutcome TransferPlanResult::refusedOutcome() const
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Refused;
    outcome.refusal = refusal;
    outcome.refusedValue = refusedValue;
    outcome.refusedLimit = refusedLimit;
    return outcome;
}

qint64 TransferPlan::chunkedByteCount() const
{
    const qint64 chunks = (byteCount() + chunkCount - 1) / chunkCount;
    return chunks * chunkCount;
}

std::chrono::microseconds TransferPlan::chunkProgrammingTime() const
{
    return family == BusFamily::Microwire ? writeTime * chunkCount : writeTime;
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
        return refuse(Refusal::NoDevice);
    }
    const SelectedDevice& device = *request.device;
    if (!isKnownBus(device.Family)) {
        return refuse(Refusal::UnknownFamily, static_cast<qint64>(device.Family));
    }

    TransferPlan plan;
    plan.mode = request.mode;
    plan.family = device.Family;
    plan.commandVariant = device.CommandVariant;
    plan.microwireParam = device.MicrowireParam;
    plan.writeTime = device.WriteTime;
    plan.chunkCount = chunkCount(device, request.mode);
    if (plan.chunkCount < 1) {
        return refuse(Refusal::NoChunk, device.PageSize);
    }
    // Neither the image nor the part may be overrun: the part's address counter would wrap.
    const std::int64_t limit = std::min<std::int64_t>(imageSize, device.memorySize());

    if (request.mode == AccessMode::Byte) {
        if (!request.cellAddress || *request.cellAddress < 0 || *request.cellAddress >= limit) {
            return refuse(Refusal::NotAByteCell);
        }
        plan.start = plan.end = static_cast<std::int32_t>(*request.cellAddress);
        return {plan};
    }

    if (request.accessSize < 1) {
        return refuse(Refusal::NoAccessSize);
    }
    if (request.offset < 0 || request.offset % plan.chunkCount != 0) {
        return refuse(Refusal::Misaligned, request.offset, plan.chunkCount);
    }
    // The board moves whole chunks, so the last one may reach past the access size.
    const std::int64_t chunks = (request.accessSize + plan.chunkCount - 1) / plan.chunkCount;
    if (request.offset + chunks * plan.chunkCount > limit) {
        return refuse(Refusal::OutsideImage, request.accessSize, limit - request.offset);
    }
    plan.start = static_cast<std::int32_t>(request.offset);
    plan.end = static_cast<std::int32_t>(request.offset + request.accessSize - 1);
    return {plan};
}
