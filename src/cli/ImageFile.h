#pragma once

#include "cli/ImageFormat.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The image files of the command line: an image of the part from address 0, in Intel HEX
// (through the program's reader and writer, so files go back and forth with the window) or
// as raw bytes. Errors are in English.

// What reading an image file for a part gave.
struct ImageFileLoad {
    QString error;                   // why the file could not be read; empty when it was
    QByteArray bytes;                // the part's size: the file's data, 0xFF where it had none
    qint64 heldBytes = 0;            // data bytes the file gave within the part
    qint64 bytesBeyond = 0;          // data bytes at addresses past the part, left out
    qint64 firstAddressBeyond = -1;  // the lowest of those, -1 when there were none
    int badRecords = 0;              // Intel HEX records with a wrong checksum or cut short

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// Reads `device` (open for reading) to its end as an image for a part of `partSize` bytes.
[[nodiscard]] ImageFileLoad loadImageFile(QIODevice& device, ImageFormat format, qint64 partSize);

// The file's contents for `image`.
[[nodiscard]] QByteArray imageFileContents(ImageFormat format, const QByteArray& image);

// Writes `image` to `path`, replacing the file only once the whole of it is written. Empty on
// success, else why not.
[[nodiscard]] QString saveImageFile(const QString& path, ImageFormat format,
                                    const QByteArray& image);

// Why a file of `format` cannot hold an image of `size` bytes; empty when it can. Asked
// before a read, so that no chip is read into a file that would lose part of it.
[[nodiscard]] QString imageFormatLimit(ImageFormat format, qint64 size);

// Why `path` cannot be written (a folder, write-protected, no such folder); empty when it
// can. "-" (standard output) always can.
[[nodiscard]] QString outputFileProblem(const QString& path);
