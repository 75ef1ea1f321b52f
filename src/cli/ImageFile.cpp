#include "cli/ImageFile.h"

#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString failureText(const FileWriteFailure& failure)
{
    QString text;
    switch (failure.cause) {
        case FileWriteFailure::Cause::None:
            return {};
        case FileWriteFailure::Cause::NotRegularFile:
            text = QStringLiteral("it is not a regular file (a pipe or a device)");
            break;
        case FileWriteFailure::Cause::WriteProtected:
            text = QStringLiteral("it is write-protected");
            break;
        case FileWriteFailure::Cause::DiskFull:
            text = QStringLiteral("the disk is full");
            break;
        case FileWriteFailure::Cause::CutShort:
            text = QStringLiteral("the system stopped taking the bytes");
            break;
        case FileWriteFailure::Cause::System:
            text = failure.systemText;
            break;
    }
    if (failure.restoreFailure) {
        text += QStringLiteral("; the old file could not be put back either: %1")
                    .arg(failureText(*failure.restoreFailure));
    }
    return text;
}

}  // namespace

CliImageLoad readImageFile(QIODevice& device, ImageFileFormat format, qint64 partSize)
{
    const ImageFileLoad file = loadImage(device, format, partSize);
    CliImageLoad load;
    switch (file.result) {
        case ImageFileLoad::Result::Loaded:
            break;
        case ImageFileLoad::Result::NoData:
            load.noData = true;
            load.error = QStringLiteral("it holds no data record");
            return load;
        case ImageFileLoad::Result::NotRegularFile:
            load.error = QStringLiteral("it is not a regular file");
            return load;
        case ImageFileLoad::Result::Unreadable:
            load.error = file.error;
            return load;
    }
    load.bytes = file.image.bytes();
    load.heldBytes = std::min(file.summary.storedBytes, partSize);
    load.bytesBeyond = file.summary.bytesBeyond;
    load.firstAddressBeyond = file.summary.lowestAddressBeyond;
    load.badRecords = file.summary.badRecords;
    return load;
}

QString writeImageFile(const QString& path, ImageFileFormat format, const QByteArray& image)
{
    const QString problem = outputFileProblem(path);
    if (!problem.isEmpty()) return problem;
    return failureText(saveImageFileReporting(path, format, image));
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
