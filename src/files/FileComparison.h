#pragma once

#include "files/ImageFileLoad.h"
#include "image/ImageComparison.h"

// The memory image against an image file: the file is read into an image of the same size and
// the two are compared byte by byte. The memory image is only read.
struct FileComparison {
    ImageFileLoad load;     // the file as read; compared only when it was loaded
    Comparison comparison;  // the memory image ("buffer") against the file

    [[nodiscard]] bool compared() const { return load.loaded(); }
};

[[nodiscard]] FileComparison compareWithFile(const QString& path, ImageFileFormat format,
                                             const QByteArray& image,
                                             ImageByteOrder order = ImageByteOrder::AsIs);
