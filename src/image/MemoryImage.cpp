#include "image/MemoryImage.h"

void MemoryImage::recreate(qint64 size) { m_bytes = QByteArray(size, static_cast<char>(kBlank)); }
