#pragma once

#include "files/ImageReadSummary.h"

#include <QByteArrayView>

class MemoryImage;

// Reads a raw binary file into a memory image, in pieces of any size: the file's bytes go to
// address 0 onwards. Bytes past the image's end are counted, not stored, so a file longer than
// the part reports the part's size as the lowest address left out; a shorter file leaves the
// rest of the image as it was (blank).
class BinaryReader {
public:
    explicit BinaryReader(MemoryImage& image) : m_image(image) {}

    void feed(QByteArrayView bytes);
    // Counts `count` further bytes that were not read because none of them can be stored.
    void passOver(qint64 count);

    // How many more bytes can be stored.
    [[nodiscard]] qint64 room() const;
    // Bytes fed or passed over so far: the file's length once it has all been seen.
    [[nodiscard]] qint64 length() const { return m_length; }
    [[nodiscard]] const ImageReadSummary& summary() const { return m_summary; }

private:
    MemoryImage& m_image;
    ImageReadSummary m_summary;
    qint64 m_length = 0;
};

// Reads a whole file's bytes at once.
ImageReadSummary readBinary(QByteArrayView bytes, MemoryImage& image);
