#include "files/ImageFileSave.h"

#include "files/FileReplacement.h"
#include "files/IntelHexWriter.h"
#include "files/SRecordWriter.h"
#include "image/MemoryImage.h"

QByteArray imageFileContents(ImageFileFormat format, const QByteArray& image)
{
    switch (format) {
        case ImageFileFormat::SRecord:
            return sRecordText(image);
        case ImageFileFormat::Binary:
            return image;
        case ImageFileFormat::IntelHex:
        case ImageFileFormat::Unknown:
            break;
    }
    return intelHexText(image);
}

QString saveImageFile(const QString& path, ImageFileFormat format, const MemoryImage& image)
{
    return replaceFile(path, imageFileContents(format, image.bytes()));
}

FileWriteFailure saveImageFileReporting(const QString& path, ImageFileFormat format,
                                        const QByteArray& image)
{
    return replaceFileReporting(path, imageFileContents(format, image));
}
