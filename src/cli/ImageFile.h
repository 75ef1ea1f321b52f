#pragma once

#include "cli/ImageFormat.h"
#include "files/ImageByteOrder.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The image files of the command line, read and written by the window's own readers and
// writers, so files go back and forth between the two. Errors are in English.

// What reading an image file for a part gave.
struct CliImageLoad {
    QString error;                   // why the file could not be used; empty when it could
    QByteArray bytes;                // the part's size: the file's data, 0xFF where it had none
    qint64 heldBytes = 0;            // data bytes the file gave within the part
    qint64 bytesBeyond = 0;          // data bytes at addresses past the part, left out
    qint64 firstAddressBeyond = -1;  // the lowest of those, -1 when there were none
    qint64 badRecords = 0;           // records with a wrong checksum or cut short
    qint64 recordsAfterEnd = 0;      // Intel HEX records after the end record, not loaded
    qint64 overlappingBytes = 0;     // bytes that a later record wrote again
    qint64 firstOverlap = -1;        // the lowest of those, -1 when there were none
    qint64 imageBytes = 0;           // the size of the part the file is an image of
    bool noData = false;             // a text file without a single data record

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// Reads `device` (open for reading) to its end as an image for a part of `partSize` bytes, its
// bytes in `order`.
[[nodiscard]] CliImageLoad readImageFile(QIODevice& device, ImageFileFormat format, qint64 partSize,
                                         ImageByteOrder order = ImageByteOrder::AsIs);

// The same from the file at `path`, which must be a regular file: a named pipe or a device is
// refused without waiting on it.
[[nodiscard]] CliImageLoad readImageFile(const QString& path, ImageFileFormat format,
                                         qint64 partSize,
                                         ImageByteOrder order = ImageByteOrder::AsIs);

// Writes `image` to `path` in `order`, replacing the file only once the whole of it is written.
// Empty on success, else why not.
[[nodiscard]] QString writeImageFile(const QString& path, ImageFileFormat format,
                                     const QByteArray& image,
                                     ImageByteOrder order = ImageByteOrder::AsIs);

// Why `path` cannot be written (a folder, write-protected, no such folder); empty when it
// can. "-" (standard output) always can.
[[nodiscard]] QString outputFileProblem(const QString& path);
