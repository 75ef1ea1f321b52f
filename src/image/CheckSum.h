#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// The low 16 bits of the sum of all bytes: 256 bytes of 0xFF give 0xFF00.
[[nodiscard]] std::uint16_t byteSum16(QByteArrayView bytes);

// "CheckSum:" and byteSum16 in four upper-case hexadecimal digits: "CheckSum:FF00".
[[nodiscard]] QString CheckSumText(const QByteArray& image);
