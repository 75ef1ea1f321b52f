#pragma once

#include "files/ImageFileFormat.h"

#include <QString>

#include <optional>

// The image file formats of the command line are the window's: Intel HEX, S-records and raw
// binary, each an image of the part from address 0.

// By the file's extension (.hex/.ihx/.ihex, .s19/.s28/.s37/.srec/.mot, .bin), in any case.
// Nothing for another extension, and for "-" (standard input or output).
[[nodiscard]] std::optional<ImageFileFormat> imageFormatOfPath(const QString& path);
// "hex", "srec" or "bin", the words of --format, in any case.
[[nodiscard]] std::optional<ImageFileFormat> imageFormatNamed(const QString& name);
[[nodiscard]] QString imageFormatName(ImageFileFormat format);
