#pragma once

#include "files/ImageByteOrder.h"
#include "files/ImageFileFormat.h"
#include "files/ImageReadSummary.h"
#include "image/MemoryImage.h"

#include <QString>

class QIODevice;

// The largest image file that is read. The largest part holds 128 KiB; its image as Intel HEX
// of one-byte records, the most wasteful form any tool writes, is under 2 MiB. A file eight
// times that can be no part's image, and is refused by its size before a byte of it is read, so
// that a file of hundreds of megabytes chosen by mistake costs nothing.
inline constexpr qint64 kLargestImageFile = qint64{16} << 20;

// Loading an image file of any format into a new image. The program's image is never touched
// here: the caller takes `image` only when the load says Loaded.
struct ImageFileLoad {
    enum class Result {
        Loaded,          // the file was read to its end and held data
        NoData,          // the file was read to its end but held no data record (no byte)
        NotRegularFile,  // a pipe, a device or the like: refused unread
        TooLarge,        // more than kLargestImageFile bytes: refused unread
        Unreadable,      // could not be opened or read; `error` says why
    };

    Result result = Result::Unreadable;
    ImageFileFormat format = ImageFileFormat::Unknown;  // the format the file was read as
    bool formatFromContent = false;  // the format was found from the file's beginning
    QString error;                   // Unreadable: the system's words
    qint64 fileBytes = -1;           // the file's length where it is known (always for TooLarge)
    MemoryImage image;               // imageSize bytes of 0xFF overlaid with the file's data
    ImageReadSummary summary;

    [[nodiscard]] bool loaded() const { return result == Result::Loaded; }

    // The size of the part whose image the file is: a binary file's length; for text formats
    // the smallest power of two (16 at least) that holds the data's highest address, since a
    // text file may leave out trailing bytes that are blank. 0 without data.
    [[nodiscard]] qint64 imageBytes() const;
};

// Reads the regular file at `path` as `format` into a fresh image of `imageSize` bytes. Unknown:
// the extension decides, else the file's beginning (the format is then named in the result).
// Swapped16: the image is the file's data with each pair of bytes swapped.
[[nodiscard]] ImageFileLoad loadImageFile(const QString& path, ImageFileFormat format,
                                          qint64 imageSize,
                                          ImageByteOrder order = ImageByteOrder::AsIs);

// The same from `device`, open for reading. A sequential device is read up to
// kLargestImageFile bytes and refused beyond.
[[nodiscard]] ImageFileLoad loadImage(QIODevice& device, ImageFileFormat format, qint64 imageSize,
                                      ImageByteOrder order = ImageByteOrder::AsIs);
