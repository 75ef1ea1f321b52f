#include "cli/ImageFile.h"

#include "files/IntelHexFile.h"
#include "files/IntelHexReader.h"
#include "files/IntelHexWriter.h"
#include "image/MemoryImage.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace {

// Raw binary: the file's bytes from address 0. Whatever lies past the part is counted, not
// kept, so a file of any size is read in bounded memory.
ImageFileLoad loadRawBinary(QIODevice& device, qint64 partSize)
{
    ImageFileLoad load;
    load.bytes = QByteArray(partSize, static_cast<char>(MemoryImage::kBlank));
    std::array<char, 65536> buffer{};
    qint64 position = 0;
    for (;;) {
        const qint64 count = device.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (count < 0) {
            load.error = device.errorString();
            return load;
        }
        if (count == 0) break;
        const qint64 inside = std::clamp<qint64>(partSize - position, 0, count);
        std::copy_n(buffer.data(), inside, load.bytes.data() + position);
        if (inside < count && load.firstAddressBeyond < 0)
            load.firstAddressBeyond = position + inside;
        load.bytesBeyond += count - inside;
        position += count;
    }
    load.heldBytes = std::min(position, partSize);
    return load;
}

ImageFileLoad loadIntelHexImage(QIODevice& device, qint64 partSize)
{
    const IntelHexLoad hex = loadIntelHex(device, partSize);
    ImageFileLoad load;
    if (!hex.complete) {
        load.error = hex.error;
        return load;
    }
    load.bytes = hex.image.bytes();
    load.heldBytes = std::min(hex.summary.storedBytes, partSize);
    load.bytesBeyond = hex.summary.bytesBeyond;
    load.firstAddressBeyond = hex.summary.lowestAddressBeyond;
    load.badRecords = hex.summary.badRecords;
    return load;
}

}  // namespace

ImageFileLoad loadImageFile(QIODevice& device, ImageFormat format, qint64 partSize)
{
    return format == ImageFormat::IntelHex ? loadIntelHexImage(device, partSize)
                                           : loadRawBinary(device, partSize);
}

QByteArray imageFileContents(ImageFormat format, const QByteArray& image)
{
    return format == ImageFormat::IntelHex ? intelHexText(image) : image;
}

QString saveImageFile(const QString& path, ImageFormat format, const QByteArray& image)
{
    const QString problem = outputFileProblem(path);
    if (!problem.isEmpty()) return problem;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    const QByteArray contents = imageFileContents(format, image);
    if (file.write(contents) != contents.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

QString imageFormatLimit(ImageFormat format, qint64 size)
{
    if (format == ImageFormat::Binary) return {};
    // Asks the writer itself: write an image of that size and read it back.
    MemoryImage image;
    image.recreate(size);
    const IntelHexReadSummary summary = readIntelHex(intelHexText(QByteArray(size, '\0')), image);
    if (summary.storedBytes >= size) return {};
    return QStringLiteral(
               "an Intel HEX file written here holds at most %1 bytes, fewer than "
               "the %2 to read; write a .bin file (or --format bin) instead")
        .arg(summary.storedBytes)
        .arg(size);
}

QString outputFileProblem(const QString& path)
{
    if (path == QLatin1String("-")) return {};
    const QFileInfo target(path);
    if (target.isDir()) return QStringLiteral("%1 is a folder").arg(path);
    if (target.exists() && !target.isWritable()) {
        return QStringLiteral("%1 may not be written (write-protected)").arg(path);
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return QStringLiteral("there is no folder %1").arg(folder.filePath());
    if (!folder.isWritable()) {
        return QStringLiteral("the folder %1 may not be written to").arg(folder.filePath());
    }
    return {};
}
