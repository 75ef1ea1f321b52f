#pragma once

#include "files/IntelHexReadSummary.h"
#include "image/MemoryImage.h"

#include <QString>

class QIODevice;

// Saving and loading Intel HEX files. Neither touches the program's image on failure: a save
// replaces the target only once the whole text is on disk, and a load builds a new image that
// the caller takes only when the file was read to its end.

// Writes intelHexText(image) to `path` through a temporary file that replaces the target when
// complete. An existing target that may not be written is refused. Empty on success, else why
// the file could not be written.
[[nodiscard]] QString saveIntelHexFile(const QString& path, const MemoryImage& image);

struct IntelHexLoad {
    bool complete = false;  // the file was read to its end
    QString error;          // why not, when not complete
    MemoryImage image;      // imageSize bytes of 0xFF overlaid with the file's data
    IntelHexReadSummary summary;
};

// Reads `device` (open for reading) to its end into a fresh image of `imageSize` bytes.
[[nodiscard]] IntelHexLoad loadIntelHex(QIODevice& device, qint64 imageSize);
// Opens `path` and reads it as above.
[[nodiscard]] IntelHexLoad loadIntelHexFile(const QString& path, qint64 imageSize);
