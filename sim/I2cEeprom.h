#pragma once

#include <QByteArray>

class PartMemory;

// A 24Cxx EEPROM as seen from the I2C bus, transaction by transaction.
//
// The device address byte is 1010 b3 b2 b1 R/W. Parts up to 16 Kbit take one word-address
// byte and use b1 upwards as block bits for the address bits above A7 (24C04: A8; 24C08:
// A8..A9; 24C16: A8..A10); larger parts take two word-address bytes, and 1 Mbit parts take A16
// in b1. Device address bits that are not block bits are the chip-select pins, which the
// programmer's socket ties to ground: a byte with such a bit set is not acknowledged.
// Address bits beyond the part are ignored, and the address counter wraps at the end of the
// part, as on the real parts.
class I2cEeprom {
public:
    I2cEeprom(PartMemory& memory, int sizeExponent, int pageSize);

    // START, device address (write), `bytes`, STOP. The first word-address bytes of `bytes`
    // set the address; the rest go into the page buffer, wrapping inside the page, and are
    // committed at the STOP. False when the device address is not acknowledged.
    bool write(quint8 deviceAddress, const QByteArray& bytes);

    // START, device address (write), `addressBytes`, repeated START, device address (read),
    // `count` bytes read sequentially, STOP. A repeated START commits nothing. An unanswered
    // device address leaves the bus released: the bytes read are 0xFF.
    [[nodiscard]] QByteArray read(quint8 deviceAddress, const QByteArray& addressBytes, int count);

    [[nodiscard]] int wordAddressBytes() const { return m_wordAddressBytes; }

private:
    [[nodiscard]] bool acknowledges(quint8 deviceAddress) const;
    // Loads the address counter from the block bits and the first word-address bytes; false
    // when fewer bytes than the part needs were sent.
    bool loadAddress(quint8 deviceAddress, const QByteArray& bytes);
    [[nodiscard]] qint64 inPage(qint64 pageStart, qint64 offset) const;

    PartMemory& m_memory;
    qint64 m_size = 0;
    qint64 m_pageSize = 1;
    int m_wordAddressBytes = 1;
    int m_blockBits = 0;
    qint64 m_counter = 0;
};
