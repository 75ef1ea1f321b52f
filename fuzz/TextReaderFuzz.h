#pragma once

// What the fuzz targets of the Intel HEX and S-record readers hold each reader to, besides the
// sanitizers' checks: the image keeps its size, the summary is consistent (addresses beyond the
// image lie beyond it, overlaps inside it, the data's end past every address counted), reading
// in two pieces gives what reading at once gives, and an image saved by the format's writer
// reads back unchanged, without overlaps or records after its end.
//
// Input: byte 0 picks the image size (none, or 16 B .. 128 KiB), byte 1 where the text is cut
// in two, the rest is the text.

#include "files/ImageReadSummary.h"
#include "image/MemoryImage.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

template <typename Reader>
int fuzzTextReader(const std::uint8_t* data, std::size_t size,
                   ImageReadSummary (*readAll)(QByteArrayView, MemoryImage&),
                   QByteArray (*writeAll)(const QByteArray&))
{
    if (size < 2) return 0;
    const int exponent = data[0] % 15;
    const qint64 imageSize = exponent == 0 ? 0 : qint64{1} << (exponent + 3);
    const QByteArrayView text(reinterpret_cast<const char*>(data + 2),
                              static_cast<qsizetype>(size - 2));
    const qsizetype cut = text.size() * data[1] / 255;

    MemoryImage whole;
    whole.recreate(imageSize);
    const ImageReadSummary summary = readAll(text, whole);
    if (whole.size() != imageSize) std::abort();
    if (summary.hasDataBeyond() != (summary.lowestAddressBeyond >= 0)) std::abort();
    if (summary.lowestAddressBeyond >= 0 && whole.contains(summary.lowestAddressBeyond)) {
        std::abort();
    }
    if ((summary.ignoredLines > 0) != (summary.firstIgnoredLine > 0)) std::abort();
    if (summary.storedBytes > 0 && imageSize == 0) std::abort();
    if (summary.hasOverlaps() != (summary.lowestOverlap >= 0)) std::abort();
    if (summary.lowestOverlap >= 0 && !whole.contains(summary.lowestOverlap)) std::abort();
    if (summary.overlappingBytes > summary.storedBytes || summary.recordsAfterEnd < 0) {
        std::abort();
    }
    if (summary.hasData() != (summary.dataEnd > 0)) std::abort();
    if (summary.lowestAddressBeyond >= summary.dataEnd && summary.hasDataBeyond()) std::abort();
    if (summary.lowestOverlap >= summary.dataEnd) std::abort();

    MemoryImage pieces;
    pieces.recreate(imageSize);
    Reader reader(pieces);
    reader.feed(text.first(cut));
    reader.feed(text.sliced(cut));
    reader.finish();
    if (pieces.bytes() != whole.bytes() || !(reader.summary() == summary)) std::abort();

    // Small images only, to keep the fuzzer fast; the writer's records are the same at any size.
    if (imageSize <= 4096) {
        MemoryImage again;
        again.recreate(imageSize);
        const ImageReadSummary back = readAll(writeAll(whole.bytes()), again);
        if (again.bytes() != whole.bytes() || back.badRecords != 0 || back.hasDataBeyond() ||
            back.ignoredLines != 0 || back.storedBytes != imageSize || back.hasOverlaps() ||
            back.recordsAfterEnd != 0 || back.dataEnd != imageSize) {
            std::abort();
        }
    }
    return 0;
}
