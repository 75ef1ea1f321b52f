#include "link/AccessPackets.h"

#include "devices/SelectedDevice.h"

namespace {

constexpr int kLargestChunk = 16;
constexpr std::int32_t kCommandVariantLowerCase = 2;

}  // namespace

char familyDigit(BusFamily family) { return family == BusFamily::Microwire ? '3' : '2'; }

char readLetter(std::int32_t commandVariant)
{
    return commandVariant == kCommandVariantLowerCase ? 'r' : 'R';
}

char writeLetter(std::int32_t commandVariant)
{
    return commandVariant == kCommandVariantLowerCase ? 'w' : 'W';
}

std::array<std::uint8_t, 4> Long_To_Bytes(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

QByteArray Build_Address_Packet(int chunkCount, std::int32_t address, BusFamily family,
                                std::int32_t microwireParam)
{
    const std::array<std::uint8_t, 4> split = Long_To_Bytes(address);
    QByteArray packet(4, '\0');
    packet[0] = static_cast<char>(chunkCount);
    packet[1] = static_cast<char>(
        family == BusFamily::Microwire ? static_cast<std::uint8_t>(microwireParam) : split[1]);
    packet[2] = static_cast<char>(split[2]);
    packet[3] = static_cast<char>(split[3]);
    return packet;
}

int chunkCount(const SelectedDevice& device, AccessMode mode)
{
    if (mode == AccessMode::Byte) return 1;
    if (device.Family == BusFamily::Microwire) return kLargestChunk;
    if (device.PageSize <= 0) return 0;
    return device.PageSize > kLargestChunk ? kLargestChunk : device.PageSize;
}

int progressPercent(std::int64_t current, std::int64_t start, std::int64_t end)
{
    const std::int64_t numerator = (current - start) * 100;
    const std::int64_t denominator = end - start + 1;
    std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}
