#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// The checksums people compare a dump by: CRC-32 and SHA-256 as crc32 and sha256sum give them
// for a file of the same bytes, and the 16-bit sum the window shows.
struct ImageChecksums {
    std::uint32_t crc32 = 0;
    QByteArray sha256;  // 32 bytes
    std::uint16_t sum16 = 0;

    [[nodiscard]] static ImageChecksums of(QByteArrayView bytes);
};
