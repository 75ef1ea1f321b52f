#include "sim/I2cEeprom.h"

#include "sim/PartMemory.h"

#include <QMap>

#include <algorithm>

namespace {
constexpr int kTwoByteAddressFrom = 12;  // 32 Kbit and larger
}

I2cEeprom::I2cEeprom(PartMemory& memory, int sizeExponent, int pageSize)
    : m_memory(memory),
      m_size(memory.size()),
      m_pageSize(std::clamp<qint64>(pageSize, 1, memory.size())),
      m_wordAddressBytes(sizeExponent >= kTwoByteAddressFrom ? 2 : 1)
{
    const int addressBits = 8 * m_wordAddressBytes;
    m_blockBits = std::clamp(sizeExponent - addressBits, 0, 3);
}

bool I2cEeprom::acknowledges(quint8 deviceAddress) const
{
    if ((deviceAddress & 0xF0) != 0xA0) return false;
    const int selectBits = (deviceAddress >> 1) & 0x07;
    return (selectBits >> m_blockBits) == 0;
}

bool I2cEeprom::loadAddress(quint8 deviceAddress, const QByteArray& bytes)
{
    if (bytes.size() < m_wordAddressBytes) return false;
    qint64 address = (deviceAddress >> 1) & ((1 << m_blockBits) - 1);
    for (int i = 0; i < m_wordAddressBytes; ++i) {
        address = (address << 8) | static_cast<quint8>(bytes.at(i));
    }
    m_counter = address % m_size;
    return true;
}

qint64 I2cEeprom::inPage(qint64 pageStart, qint64 offset) const
{
    return pageStart + offset % m_pageSize;
}

bool I2cEeprom::write(quint8 deviceAddress, const QByteArray& bytes)
{
    if (!acknowledges(deviceAddress)) return false;
    if (!loadAddress(deviceAddress, bytes)) return true;
    const qint64 pageStart = m_counter - m_counter % m_pageSize;
    const qint64 firstOffset = m_counter % m_pageSize;
    // The page buffer: a byte sent past the end of the page lands at its start again and
    // replaces what was sent there before.
    QMap<qint64, quint8> latched;
    const int dataCount = static_cast<int>(bytes.size()) - m_wordAddressBytes;
    for (int i = 0; i < dataCount; ++i) {
        latched.insert(inPage(pageStart, firstOffset + i),
                       static_cast<quint8>(bytes.at(m_wordAddressBytes + i)));
    }
    for (auto it = latched.cbegin(); it != latched.cend(); ++it)
        m_memory.store(it.key(), it.value());
    m_counter = inPage(pageStart, firstOffset + dataCount);
    return true;
}

QByteArray I2cEeprom::read(quint8 deviceAddress, const QByteArray& addressBytes, int count)
{
    if (!acknowledges(deviceAddress)) return QByteArray(count, static_cast<char>(0xFF));
    if (loadAddress(deviceAddress, addressBytes)) {
        // Bytes sent after the word address went into the page buffer and moved the counter
        // on; the repeated START discards them.
        const qint64 extra = addressBytes.size() - m_wordAddressBytes;
        const qint64 pageStart = m_counter - m_counter % m_pageSize;
        m_counter = inPage(pageStart, m_counter % m_pageSize + extra);
    }
    QByteArray result;
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        result.append(static_cast<char>(m_memory.at(m_counter)));
        m_counter = (m_counter + 1) % m_size;
    }
    return result;
}
