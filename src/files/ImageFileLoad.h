#pragma once

#include "files/ImageFileFormat.h"
#include "files/ImageReadSummary.h"
#include "image/MemoryImage.h"

#include <QString>
#include <QStringList>

class QIODevice;

// Loading an image file of any format into a new image. The program's image is never touched
// here: the caller takes `image` only when the load says Loaded.
struct ImageFileLoad {
    enum class Result {
        Loaded,          // the file was read to its end and held data
        NoData,          // the file was read to its end but held no data record (no byte)
        NotRegularFile,  // a pipe, a device or the like: refused unread
        Unreadable,      // could not be opened or read; `error` says why
    };

    Result result = Result::Unreadable;
    ImageFileFormat format = ImageFileFormat::Unknown;  // the format the file was read as
    bool formatFromContent = false;  // the format was found from the file's beginning
    QString error;
    MemoryImage image;  // imageSize bytes of 0xFF overlaid with the file's data
    ImageReadSummary summary;
    QStringList notices;  // what the user should know about a Loaded image, one text each

    [[nodiscard]] bool loaded() const { return result == Result::Loaded; }
};

// The text for a file without data: "有効なデータレコードがありません。"
[[nodiscard]] QString noDataRecordText();

// Reads the regular file at `path` as `format` into a fresh image of `imageSize` bytes. Unknown:
// the extension decides, else the file's beginning (the format is then named in the result).
[[nodiscard]] ImageFileLoad loadImageFile(const QString& path, ImageFileFormat format,
                                          qint64 imageSize);

// The same from `device`, open for reading.
[[nodiscard]] ImageFileLoad loadImage(QIODevice& device, ImageFileFormat format, qint64 imageSize);
