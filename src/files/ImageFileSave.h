#pragma once

#include "files/FileReplacement.h"
#include "files/ImageFileFormat.h"

#include <QByteArray>
#include <QString>

class MemoryImage;

// The whole contents of an image file of `format` for `image`: Intel HEX text, S-record text or
// the bytes themselves. Unknown gives Intel HEX, the program's own format.
[[nodiscard]] QByteArray imageFileContents(ImageFileFormat format, const QByteArray& image);

// Saves `image` as `format` at `path` through replaceFile: the old file survives every failure.
// Empty on success, else the cause in words for the user.
[[nodiscard]] QString saveImageFile(const QString& path, ImageFileFormat format,
                                    const MemoryImage& image);
// The same with the cause to be worded by the caller.
[[nodiscard]] FileWriteFailure saveImageFileReporting(const QString& path, ImageFileFormat format,
                                                      const QByteArray& image);
