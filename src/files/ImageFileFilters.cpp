#include "files/ImageFileFilters.h"

#include <QCoreApplication>

QString openFileFilter()
{
    return QCoreApplication::translate(
        "ImageFileFilters",
        "Hexファイル|*.HEX|Sレコードファイル|*.S19;*.S28;*.S37;*.SREC;*.MOT|"
        "バイナリファイル|*.BIN|全てのファイル|*.*|");
}

QString saveFileFilter()
{
    return QCoreApplication::translate(
        "ImageFileFilters",
        "Hexファイル|*.hex|Sレコードファイル|*.s19;*.s28;*.s37;*.srec;*.mot|"
        "バイナリファイル|*.bin|全てのファイル|*.*|");
}

ImageFileFormat formatForFilter(int filterIndex)
{
    switch (filterIndex) {
        case 0:
            return ImageFileFormat::IntelHex;
        case 1:
            return ImageFileFormat::SRecord;
        case 2:
            return ImageFileFormat::Binary;
        default:
            return ImageFileFormat::Unknown;
    }
}

ImageFileFormat formatToLoad(const QString& path, int filterIndex)
{
    const ImageFileFormat byExtension = formatForPath(path);
    if (byExtension != ImageFileFormat::Unknown) return byExtension;
    const ImageFileFormat byFilter = formatForFilter(filterIndex);
    return byFilter == ImageFileFormat::IntelHex ? ImageFileFormat::Unknown : byFilter;
}

ImageFileFormat formatToSave(const QString& path, int filterIndex)
{
    const ImageFileFormat byExtension = formatForPath(path);
    if (byExtension != ImageFileFormat::Unknown) return byExtension;
    const ImageFileFormat byFilter = formatForFilter(filterIndex);
    return byFilter == ImageFileFormat::Unknown ? ImageFileFormat::IntelHex : byFilter;
}
