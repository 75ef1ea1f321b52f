#include "sim/RandomFaults.h"

#include <QString>

double RandomFaults::fraction() { return static_cast<double>(m_generator() >> 11) * 0x1.0p-53; }

int RandomFaults::below(int bound)
{
    return bound <= 1 ? 0 : static_cast<int>(m_generator() % static_cast<std::uint64_t>(bound));
}

std::optional<RandomFaults::Fault> RandomFaults::next(bool writing, int chunkSize)
{
    if (fraction() >= m_rate) return std::nullopt;
    static constexpr Kind kKinds[] = {Kind::DropByte, Kind::ExtraBytes, Kind::FlipRead, Kind::Stall,
                                      Kind::HangUp};
    Fault fault;
    fault.kind = kKinds[below(static_cast<int>(std::size(kKinds)))];
    if (writing && fault.kind == Kind::FlipRead) fault.kind = Kind::FlipWrite;
    fault.byteIndex = below(chunkSize);
    fault.bit = below(8);
    const int noiseBytes = 1 + below(4);
    for (int i = 0; i < noiseBytes; ++i) fault.noise.append(static_cast<char>(below(256)));
    fault.fromBoard = !writing || below(2) == 0;
    fault.before = below(2) == 0;
    return fault;
}

QString RandomFaults::kindName(Kind kind)
{
    switch (kind) {
        case Kind::DropByte:
            return QStringLiteral("byte dropped");
        case Kind::ExtraBytes:
            return QStringLiteral("extra bytes");
        case Kind::FlipRead:
            return QStringLiteral("bit flipped on the line");
        case Kind::FlipWrite:
            return QStringLiteral("bit flipped while writing");
        case Kind::Stall:
            return QStringLiteral("stall");
        case Kind::HangUp:
            return QStringLiteral("hang-up");
    }
    return {};
}
