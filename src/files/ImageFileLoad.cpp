#include "files/ImageFileLoad.h"

#include "files/BinaryReader.h"
#include "files/ImageLoadNotices.h"
#include "files/IntelHexReader.h"
#include "files/RegularFile.h"
#include "files/SRecordReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <array>

namespace {

constexpr qint64 kChunkBytes = 65536;

// Feeds the whole of `device` to a text reader. False, with the reason, when a read failed.
template <class Reader>
bool readText(QIODevice& device, Reader& reader, QString& error)
{
    std::array<char, kChunkBytes> buffer{};
    for (;;) {
        const qint64 count = device.read(buffer.data(), kChunkBytes);
        if (count < 0) {
            error = device.errorString();
            return false;
        }
        if (count == 0) break;
        reader.feed(QByteArrayView(buffer.data(), count));
    }
    reader.finish();
    return true;
}

// Reads what fits into the image; what lies beyond is counted from the file's size, so a
// huge file chosen by mistake is not read through.
bool readBinary(QIODevice& device, BinaryReader& reader, QString& error)
{
    std::array<char, kChunkBytes> buffer{};
    for (;;) {
        const qint64 wanted =
            device.isSequential() ? kChunkBytes : std::min<qint64>(kChunkBytes, reader.room());
        if (wanted == 0) break;
        const qint64 count = device.read(buffer.data(), wanted);
        if (count < 0) {
            error = device.errorString();
            return false;
        }
        if (count == 0) return true;
        reader.feed(QByteArrayView(buffer.data(), count));
    }
    reader.passOver(std::max<qint64>(0, device.size() - device.pos()));
    return true;
}

}  // namespace

QString noDataRecordText()
{
    return QCoreApplication::translate("ImageFileLoad", "有効なデータレコードがありません。");
}

ImageFileLoad loadImage(QIODevice& device, ImageFileFormat format, qint64 imageSize)
{
    ImageFileLoad load;
    load.image.recreate(imageSize);
    load.format = format;
    if (format == ImageFileFormat::Unknown) {
        load.format = detectImageFileFormat(device.peek(kFormatDetectionBytes));
        load.formatFromContent = true;
    }

    bool read = false;
    switch (load.format) {
        case ImageFileFormat::IntelHex:
        case ImageFileFormat::Unknown: {
            IntelHexReader reader(load.image);
            read = readText(device, reader, load.error);
            load.summary = reader.summary();
            break;
        }
        case ImageFileFormat::SRecord: {
            SRecordReader reader(load.image);
            read = readText(device, reader, load.error);
            load.summary = reader.summary();
            break;
        }
        case ImageFileFormat::Binary: {
            BinaryReader reader(load.image);
            read = readBinary(device, reader, load.error);
            load.summary = reader.summary();
            break;
        }
    }
    if (!read) {
        load.result = ImageFileLoad::Result::Unreadable;
        return load;
    }
    if (!load.summary.hasData()) {
        load.result = ImageFileLoad::Result::NoData;
        return load;
    }
    load.result = ImageFileLoad::Result::Loaded;
    load.notices = imageLoadNotices(load.summary, load.format, imageSize);
    return load;
}

ImageFileLoad loadImageFile(const QString& path, ImageFileFormat format, qint64 imageSize)
{
    QFile file;
    QString error;
    switch (openRegularFile(file, path, error)) {
        case RegularFileOpening::Opened:
            break;
        case RegularFileOpening::NotRegular: {
            ImageFileLoad refused;
            refused.result = ImageFileLoad::Result::NotRegularFile;
            refused.error = error;
            return refused;
        }
        case RegularFileOpening::Failed: {
            ImageFileLoad failed;
            failed.error = error;
            return failed;
        }
    }
    if (format == ImageFileFormat::Unknown) format = formatForPath(path);
    return loadImage(file, format, imageSize);
}
