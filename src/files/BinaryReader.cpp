#include "files/BinaryReader.h"

#include "image/MemoryImage.h"

#include <algorithm>
#include <cstdint>

void BinaryReader::feed(QByteArrayView bytes)
{
    const qint64 stored = std::min<qint64>(bytes.size(), room());
    for (qint64 i = 0; i < stored; ++i) {
        m_image.set(m_length + i, static_cast<std::uint8_t>(bytes[i]));
    }
    m_summary.storedBytes += stored;
    m_length += stored;
    m_summary.reach(m_length);
    passOver(bytes.size() - stored);
}

void BinaryReader::passOver(qint64 count)
{
    if (count <= 0) return;
    m_summary.leaveOut(std::max(m_length, m_image.size()), count);
    m_length += count;
}

qint64 BinaryReader::room() const { return std::max<qint64>(0, m_image.size() - m_length); }

ImageReadSummary readBinary(QByteArrayView bytes, MemoryImage& image)
{
    BinaryReader reader(image);
    reader.feed(bytes);
    return reader.summary();
}
