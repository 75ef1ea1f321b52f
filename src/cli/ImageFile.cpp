#include "cli/ImageFile.h"

#include "cli/FileTexts.h"
#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"

#include <algorithm>

namespace {

CliImageLoad cliImageLoad(const ImageFileLoad& file, qint64 partSize)
{
    CliImageLoad load;
    switch (file.result) {
        case ImageFileLoad::Result::Loaded:
            break;
        case ImageFileLoad::Result::NoData:
            load.noData = true;
            load.error = QStringLiteral("it holds no data record");
            return load;
        case ImageFileLoad::Result::NotRegularFile:
            load.error = notRegularFileText() + QStringLiteral(" (give -i - for standard input)");
            return load;
        case ImageFileLoad::Result::TooLarge:
            load.error = QStringLiteral(
                             "it has more than %1 bytes, far more than any part's image (the "
                             "largest part holds 131072)")
                             .arg(kLargestImageFile);
            return load;
        case ImageFileLoad::Result::Unreadable:
            load.error = file.error;
            return load;
    }
    const ImageReadSummary& summary = file.summary;
    load.bytes = file.image.bytes();
    load.heldBytes = std::min(summary.storedBytes, partSize);
    load.bytesBeyond = summary.bytesBeyond;
    load.firstAddressBeyond = summary.lowestAddressBeyond;
    load.badRecords = summary.badRecords;
    load.recordsAfterEnd = summary.recordsAfterEnd;
    load.overlappingBytes = summary.overlappingBytes;
    load.firstOverlap = summary.lowestOverlap;
    load.imageBytes = file.imageBytes();
    return load;
}

}  // namespace

CliImageLoad readImageFile(QIODevice& device, ImageFileFormat format, qint64 partSize,
                           ImageByteOrder order)
{
    return cliImageLoad(loadImage(device, format, partSize, order), partSize);
}

CliImageLoad readImageFile(const QString& path, ImageFileFormat format, qint64 partSize,
                           ImageByteOrder order)
{
    return cliImageLoad(loadImageFile(path, format, partSize, order), partSize);
}

QString writeImageFile(const QString& path, ImageFileFormat format, const QByteArray& image,
                       ImageByteOrder order)
{
    return fileWriteFailureText(saveImageFile(path, format, image, order));
}

QString outputFileProblem(const QString& path)
{
    if (path == QLatin1String("-")) return {};
    return fileWriteFailureText(replacementProblem(path, 0));
}
