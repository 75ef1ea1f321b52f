// Loading a raw binary file of any length into a part of any size, through the loader the File
// menu uses. Besides the sanitizers' checks it holds it to the size rules: the file's first
// bytes up to the part's size are stored, the rest is counted from the part's size on, a
// shorter file leaves the rest blank, the file's length is the image size it stands for, an
// empty one is no data; and feeding the bytes in two pieces gives the same.
//
// Input: byte 0 picks the image size (none, or 16 B .. 128 KiB), byte 1 where the bytes are cut
// in two, the rest is the file.

#include "files/BinaryReader.h"
#include "files/ImageFileLoad.h"
#include "image/MemoryImage.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int exponent = data[0] % 15;
    const qint64 imageSize = exponent == 0 ? 0 : qint64{1} << (exponent + 3);
    QByteArray file(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    const qint64 length = file.size();
    const qsizetype cut = file.size() * data[1] / 255;

    QBuffer device(&file);
    if (!device.open(QIODevice::ReadOnly)) std::abort();
    const ImageFileLoad load = loadImage(device, ImageFileFormat::Binary, imageSize);
    const qint64 stored = std::min(length, imageSize);
    const ImageReadSummary& summary = load.summary;
    if (load.image.size() != imageSize || summary.storedBytes != stored ||
        summary.bytesBeyond != length - stored) {
        std::abort();
    }
    if (summary.lowestAddressBeyond != (length > imageSize ? imageSize : -1)) std::abort();
    for (qint64 i = 0; i < imageSize; ++i) {
        const std::uint8_t expected = i < stored ? static_cast<std::uint8_t>(file.at(i)) : 0xFF;
        if (load.image.at(i) != expected) std::abort();
    }
    const bool loaded = load.result == ImageFileLoad::Result::Loaded;
    if (loaded != (length > 0) || (!loaded && load.result != ImageFileLoad::Result::NoData)) {
        std::abort();
    }
    // The figures the front-ends word their notices from: the file's length is the size of the
    // part it is an image of, and where its data ends.
    if (load.fileBytes != length || summary.dataEnd != length) std::abort();
    if (loaded && load.imageBytes() != length) std::abort();

    MemoryImage pieces;
    pieces.recreate(imageSize);
    BinaryReader reader(pieces);
    reader.feed(QByteArrayView(file).first(cut));
    reader.feed(QByteArrayView(file).sliced(cut));
    if (pieces.bytes() != load.image.bytes() || !(reader.summary() == summary) ||
        reader.length() != length) {
        std::abort();
    }
    return 0;
}
