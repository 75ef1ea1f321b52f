#pragma once

#include <QString>

#include <optional>

// The image file formats of the command line.
enum class ImageFormat { IntelHex, Binary };

// By the file's extension: .hex, .ihx, .ihex (Intel HEX) and .bin (raw bytes), in any case.
// Nothing for another extension, and for "-" (standard input or output).
[[nodiscard]] std::optional<ImageFormat> imageFormatOfPath(const QString& path);
// "hex" or "bin", the words of --format.
[[nodiscard]] std::optional<ImageFormat> imageFormatNamed(const QString& name);
[[nodiscard]] QString imageFormatName(ImageFormat format);
