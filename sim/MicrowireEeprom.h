#pragma once

#include <QByteArray>

class PartMemory;

// A 93Cxx EEPROM in x8 organisation (ORG tied low), as the board drives it: a READ instruction
// with the start address followed by a sequential read, and one WRITE instruction per byte
// (there is no page write; each byte is programmed on its own).
//
// The board clocks out as many address bits as the address packet names; the part takes its
// own number (7 for 93C46, 9 for 93C66, 11 for 93C86). When the two differ the instruction is
// misframed: the part never drives its data output (the board reads 0xFF) and programs nothing.
// Addresses wrap at the end of the part.
class MicrowireEeprom {
public:
    MicrowireEeprom(PartMemory& memory, int addressBits);

    [[nodiscard]] QByteArray read(int boardAddressBits, quint32 address, int count) const;
    void write(int boardAddressBits, quint32 address, const QByteArray& bytes);

private:
    PartMemory& m_memory;
    int m_addressBits = 7;
};
