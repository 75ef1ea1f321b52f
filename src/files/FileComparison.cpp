#include "files/FileComparison.h"

FileComparison compareWithFile(const QString& path, ImageFileFormat format, const QByteArray& image,
                               ImageByteOrder order)
{
    FileComparison result;
    result.load = loadImageFile(path, format, image.size(), order);
    if (result.compared()) {
        result.comparison = compareRange(image, result.load.image.bytes(), 0, image.size());
    }
    return result;
}
