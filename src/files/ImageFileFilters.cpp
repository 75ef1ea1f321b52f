#include "files/ImageFileFilters.h"

ImageFileFormat formatForFilter(int filterIndex)
{
    switch (filterIndex) {
        case ImageFileFilter::kIntelHex:
            return ImageFileFormat::IntelHex;
        case ImageFileFilter::kSRecord:
            return ImageFileFormat::SRecord;
        case ImageFileFilter::kBinary:
            return ImageFileFormat::Binary;
        default:
            return ImageFileFormat::Unknown;
    }
}

ImageByteOrder byteOrderForFilter(int filterIndex)
{
    return filterIndex == ImageFileFilter::kSwapped16 ? ImageByteOrder::Swapped16
                                                      : ImageByteOrder::AsIs;
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
