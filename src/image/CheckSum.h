#pragma once

#include <QByteArray>
#include <QString>

// "CheckSum:" and the low 16 bits of the sum of all bytes in four upper-case hexadecimal
// digits: 256 bytes of 0xFF give "CheckSum:FF00".
[[nodiscard]] QString CheckSumText(const QByteArray& image);
