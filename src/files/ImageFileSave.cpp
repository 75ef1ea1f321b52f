#include "files/ImageFileSave.h"

#include "files/IntelHexWriter.h"
#include "files/SRecordWriter.h"

QByteArray imageFileContents(ImageFileFormat format, const QByteArray& image, ImageByteOrder order)
{
    const QByteArray bytes = inByteOrder(image, order);
    switch (format) {
        case ImageFileFormat::SRecord:
            return sRecordText(bytes);
        case ImageFileFormat::Binary:
            return bytes;
        case ImageFileFormat::IntelHex:
        case ImageFileFormat::Unknown:
            break;
    }
    return intelHexText(bytes);
}

FileWriteFailure saveImageFile(const QString& path, ImageFileFormat format, const QByteArray& image,
                               ImageByteOrder order)
{
    return replaceFile(path, imageFileContents(format, image, order));
}
