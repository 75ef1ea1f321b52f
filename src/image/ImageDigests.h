#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// Digests of a run of bytes that tell two images apart where the 16-bit sum cannot: CRC-32 as
// zlib, Ethernet and PNG compute it (reflected polynomial 0xEDB88320, initial and final value
// 0xFFFFFFFF; "123456789" gives 0xCBF43926) and SHA-256.
namespace ImageDigests {

// The CRC-32 of `bytes`. `previous` is the CRC-32 of the bytes before them, so a long run can be
// taken in pieces: crc32(b, crc32(a)) == crc32(a + b).
[[nodiscard]] std::uint32_t crc32(QByteArrayView bytes, std::uint32_t previous = 0);

// The 32 bytes of the SHA-256 of `bytes`.
[[nodiscard]] QByteArray sha256(QByteArrayView bytes);

}  // namespace ImageDigests
