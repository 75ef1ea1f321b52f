#pragma once

#include "files/ImageFileLoad.h"
#include "image/ImageComparison.h"

#include <QString>

// The memory image against an image file: the file is read into an image of the same size and
// the two are compared byte by byte. The memory image is only read.
struct FileComparison {
    ImageFileLoad load;     // the file as read; compared only when it was loaded
    Comparison comparison;  // the memory image ("buffer") against the file

    [[nodiscard]] bool compared() const { return load.loaded(); }
    // "ファイル比較: 一致しました" or
    // "ファイル比較: N バイト不一致 (最初 0xAAAAA: バッファ 0xBB / ファイル 0xCC)".
    [[nodiscard]] QString text() const;
};

[[nodiscard]] FileComparison compareWithFile(const QString& path, ImageFileFormat format,
                                             const QByteArray& image);
