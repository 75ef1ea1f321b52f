#pragma once

#include "files/FileReplacement.h"
#include "files/ImageByteOrder.h"
#include "files/ImageFileFormat.h"

#include <QByteArray>
#include <QString>

// The whole contents of an image file of `format` for `image`: Intel HEX text, S-record text or
// the bytes themselves, the bytes in `order`. Unknown gives Intel HEX, the program's own format.
[[nodiscard]] QByteArray imageFileContents(ImageFileFormat format, const QByteArray& image,
                                           ImageByteOrder order = ImageByteOrder::AsIs);

// Saves `image` as `format` at `path` through replaceFile: the old file survives every failure.
[[nodiscard]] FileWriteFailure saveImageFile(const QString& path, ImageFileFormat format,
                                             const QByteArray& image,
                                             ImageByteOrder order = ImageByteOrder::AsIs);
