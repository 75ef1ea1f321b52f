#include "image/MemoryImage.h"

#include <algorithm>
#include <cstring>

void MemoryImage::recreate(qint64 size) { m_bytes = QByteArray(size, static_cast<char>(kBlank)); }

void MemoryImage::write(qint64 address, QByteArrayView bytes)
{
    if (address < 0 || address >= size()) return;
    const qint64 count = std::min<qint64>(bytes.size(), size() - address);
    if (count > 0) std::memcpy(m_bytes.data() + address, bytes.data(), count);
}
