#include "editing/RangeSummary.h"

#include "image/CheckSum.h"
#include "image/ImageDigests.h"

RangeSummary RangeSummary::of(const QByteArray& image, AddressRange range)
{
    range = range.clippedTo(image.size());
    RangeSummary summary;
    summary.start = range.start;
    summary.last = range.last();
    summary.length = range.length;
    const QByteArrayView bytes = QByteArrayView(image).sliced(range.start, range.length);
    summary.sum16 = byteSum16(bytes);
    summary.crc32 = ImageDigests::crc32(bytes);
    return summary;
}
