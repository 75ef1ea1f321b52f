#include "files/ImageFileLoad.h"

#include "base/RegularFile.h"
#include "files/BinaryReader.h"
#include "files/IntelHexReader.h"
#include "files/SRecordReader.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <array>

namespace {

constexpr qint64 kChunkBytes = 65536;

enum class Reading { Done, Failed, TooLarge };

// Feeds the whole of `device` to a text reader.
template <class Reader>
Reading readText(QIODevice& device, Reader& reader, ImageFileLoad& load)
{
    std::array<char, kChunkBytes> buffer{};
    qint64 total = 0;
    for (;;) {
        const qint64 count = device.read(buffer.data(), kChunkBytes);
        if (count < 0) {
            load.error = device.errorString();
            return Reading::Failed;
        }
        if (count == 0) break;
        total += count;
        if (total > kLargestImageFile) {
            load.fileBytes = total;
            return Reading::TooLarge;
        }
        reader.feed(QByteArrayView(buffer.data(), count));
    }
    reader.finish();
    return Reading::Done;
}

// Reads what fits into the image; what lies beyond is counted from the file's size, so a
// file longer than the part is not read through.
Reading readBinary(QIODevice& device, BinaryReader& reader, ImageFileLoad& load)
{
    std::array<char, kChunkBytes> buffer{};
    for (;;) {
        const qint64 wanted =
            device.isSequential() ? kChunkBytes : std::min<qint64>(kChunkBytes, reader.room());
        if (wanted == 0) break;
        const qint64 count = device.read(buffer.data(), wanted);
        if (count < 0) {
            load.error = device.errorString();
            return Reading::Failed;
        }
        if (count == 0) return Reading::Done;
        reader.feed(QByteArrayView(buffer.data(), count));
        if (reader.length() > kLargestImageFile) {
            load.fileBytes = reader.length();
            return Reading::TooLarge;
        }
    }
    reader.passOver(std::max<qint64>(0, device.size() - device.pos()));
    return Reading::Done;
}

qint64 powerOfTwoAtLeast(qint64 bytes)
{
    qint64 size = 16;
    while (size < bytes) size *= 2;
    return size;
}

}  // namespace

qint64 ImageFileLoad::imageBytes() const
{
    if (!summary.hasData()) return 0;
    if (format == ImageFileFormat::Binary) return summary.dataEnd;
    return powerOfTwoAtLeast(summary.dataEnd);
}

ImageFileLoad loadImage(QIODevice& device, ImageFileFormat format, qint64 imageSize,
                        ImageByteOrder order)
{
    ImageFileLoad load;
    load.image.recreate(imageSize);
    load.format = format;
    if (format == ImageFileFormat::Unknown) {
        load.format = detectImageFileFormat(device.peek(kFormatDetectionBytes));
        load.formatFromContent = true;
    }
    if (!device.isSequential()) {
        load.fileBytes = device.size();
        if (load.fileBytes > kLargestImageFile) {
            load.result = ImageFileLoad::Result::TooLarge;
            return load;
        }
    }

    Reading reading = Reading::Failed;
    switch (load.format) {
        case ImageFileFormat::IntelHex:
        case ImageFileFormat::Unknown: {
            IntelHexReader reader(load.image);
            reading = readText(device, reader, load);
            load.summary = reader.summary();
            break;
        }
        case ImageFileFormat::SRecord: {
            SRecordReader reader(load.image);
            reading = readText(device, reader, load);
            load.summary = reader.summary();
            break;
        }
        case ImageFileFormat::Binary: {
            BinaryReader reader(load.image);
            reading = readBinary(device, reader, load);
            load.summary = reader.summary();
            if (reading == Reading::Done) load.fileBytes = reader.length();
            break;
        }
    }
    switch (reading) {
        case Reading::Done:
            break;
        case Reading::Failed:
            load.result = ImageFileLoad::Result::Unreadable;
            return load;
        case Reading::TooLarge:
            load.result = ImageFileLoad::Result::TooLarge;
            return load;
    }
    if (!load.summary.hasData()) {
        load.result = ImageFileLoad::Result::NoData;
        return load;
    }
    if (order == ImageByteOrder::Swapped16)
        load.image.replace(inByteOrder(load.image.bytes(), order));
    load.result = ImageFileLoad::Result::Loaded;
    return load;
}

ImageFileLoad loadImageFile(const QString& path, ImageFileFormat format, qint64 imageSize,
                            ImageByteOrder order)
{
    QFile file;
    QString error;
    switch (openRegularFile(file, path, error)) {
        case RegularFileOpening::Opened:
            break;
        case RegularFileOpening::NotRegular: {
            ImageFileLoad refused;
            refused.result = ImageFileLoad::Result::NotRegularFile;
            return refused;
        }
        case RegularFileOpening::Failed: {
            ImageFileLoad failed;
            failed.error = error;
            return failed;
        }
    }
    if (format == ImageFileFormat::Unknown) format = formatForPath(path);
    return loadImage(file, format, imageSize, order);
}
