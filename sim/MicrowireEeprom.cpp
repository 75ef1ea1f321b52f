#include "sim/MicrowireEeprom.h"

#include "sim/PartMemory.h"

MicrowireEeprom::MicrowireEeprom(PartMemory& memory, int addressBits)
    : m_memory(memory), m_addressBits(addressBits)
{
}

QByteArray MicrowireEeprom::read(int boardAddressBits, quint32 address, int count) const
{
    if (boardAddressBits != m_addressBits) return QByteArray(count, static_cast<char>(0xFF));
    QByteArray result;
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        result.append(static_cast<char>(m_memory.at((address + i) % m_memory.size())));
    }
    return result;
}

void MicrowireEeprom::write(int boardAddressBits, quint32 address, const QByteArray& bytes)
{
    if (boardAddressBits != m_addressBits) return;
    for (int i = 0; i < bytes.size(); ++i) {
        m_memory.store((address + i) % m_memory.size(), static_cast<quint8>(bytes.at(i)));
    }
}
