#include "editing/RangeFiles.h"

#include "base/RegularFile.h"
#include "files/ImageFileSave.h"
#include "files/IntelHexReader.h"
#include "files/SRecordReader.h"
#include "image/MemoryImage.h"

#include <QFile>

#include <algorithm>

namespace {

ImageReadSummary readText(ImageFileFormat format, QByteArrayView text, MemoryImage& image)
{
    return format == ImageFileFormat::SRecord ? readSRecords(text, image)
                                              : readIntelHex(text, image);
}

// The runs of the bytes a text file holds in [offset, end). The text is read twice, into an
// image of 0xFF and one of 0x00: an address holds a byte of the file unless it kept the blank
// value in both.
ByteRuns textRuns(ImageFileFormat format, QByteArrayView text, qint64 offset, qint64 end,
                  ImageReadSummary& summary)
{
    MemoryImage ones;
    ones.recreate(end);
    MemoryImage zeros;
    zeros.recreate(end);
    zeros.write(0, QByteArray(end, '\0'));
    summary = readText(format, text, ones);
    static_cast<void>(readText(format, text, zeros));

    const QByteArray& a = ones.bytes();
    const QByteArray& b = zeros.bytes();
    const auto holds = [&](qint64 at) { return a.at(at) != '\xFF' || b.at(at) != '\0'; };
    ByteRuns runs;
    qint64 at = offset;
    while (at < end) {
        while (at < end && !holds(at)) ++at;
        const qint64 start = at;
        while (at < end && holds(at)) ++at;
        if (at > start) runs.append({start - offset, a.mid(start, at - start)});
    }
    return runs;
}

}  // namespace

qint64 RangeFileRead::overrun(qint64 target, qint64 imageSize) const
{
    qint64 over = bytesBeyond;
    for (const ByteRun& run : runs) {
        const qint64 start = target + run.address;
        over += std::clamp<qint64>(start + run.bytes.size() - std::max(start, imageSize), 0,
                                   run.bytes.size());
    }
    return over;
}

RangeFileRead readRangeFile(const QString& path, ImageFileFormat format, const RangeSource& source,
                            qint64 room)
{
    RangeFileRead read;
    QFile file;
    switch (openRegularFile(file, path, read.error)) {
        case RegularFileOpening::Opened:
            break;
        case RegularFileOpening::NotRegular:
            read.result = RangeFileRead::Result::NotRegularFile;
            return read;
        case RegularFileOpening::Failed:
            return read;
    }
    const qint64 wanted = std::max<qint64>(0, source.length.value_or(room));
    if (source.offset < 0 || source.offset + wanted > RangeFileRead::kLargestSource) {
        read.result = RangeFileRead::Result::TooLarge;
        return read;
    }
    read.format = format == ImageFileFormat::Unknown ? formatForPath(path) : format;
    if (read.format == ImageFileFormat::Unknown) {
        read.format = detectImageFileFormat(file.peek(kFormatDetectionBytes));
        read.formatFromContent = true;
    }

    if (read.format == ImageFileFormat::Binary) {
        const qint64 available = std::max<qint64>(0, file.size() - source.offset);
        const qint64 taken = std::min(wanted, available);
        QByteArray bytes;
        if (taken > 0) {
            if (!file.seek(source.offset)) {
                read.error = file.errorString();
                return read;
            }
            bytes = file.read(taken);
            if (bytes.size() != taken) {
                read.error = file.errorString();
                return read;
            }
            read.runs.append({0, bytes});
        }
        read.summary.storedBytes = taken;
        if (!source.length) read.bytesBeyond = available - taken;
    } else {
        if (file.size() > RangeFileRead::kLargestText) {
            read.result = RangeFileRead::Result::TooLarge;
            return read;
        }
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            read.error = file.errorString();
            return read;
        }
        read.runs =
            textRuns(read.format, text, source.offset, source.offset + wanted, read.summary);
        if (!source.length) read.bytesBeyond = read.summary.bytesBeyond;
    }
    read.result = read.runs.isEmpty() ? RangeFileRead::Result::NoData : RangeFileRead::Result::Read;
    return read;
}

FileWriteFailure saveRangeFile(const QString& path, ImageFileFormat format,
                               const MemoryImage& image, AddressRange range)
{
    range = range.clippedTo(image.size());
    return saveImageFile(path, format, image.bytes(range.start, range.length));
}
