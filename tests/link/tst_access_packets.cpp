// Address packets, command letters, chunk sizes and progress figures.
#include "link/AccessPackets.h"
#include "support/TestDevices.h"

#include <QTest>

namespace {

QByteArray bytesOf(const std::array<std::uint8_t, 4>& split)
{
    return QByteArray(reinterpret_cast<const char*>(split.data()), 4);
}

}  // namespace

class AccessPacketsTest : public QObject {
    Q_OBJECT

private slots:
    void longToBytesIsMostSignificantFirst()
    {
        QCOMPARE(bytesOf(Long_To_Bytes(0x1FFFF)), QByteArray::fromHex("0001FFFF"));
        QCOMPARE(bytesOf(Long_To_Bytes(-1)), QByteArray::fromHex("FFFFFFFF"));
        QCOMPARE(bytesOf(Long_To_Bytes(0x12345678)), QByteArray::fromHex("12345678"));
    }

    void addressPackets()
    {
        // I2C, 64-byte pages, 64 KiB: the end packet carries 0xFFFF.
        QCOMPARE(Build_Address_Packet(16, 0, BusFamily::I2c, 0), QByteArray::fromHex("10000000"));
        QCOMPARE(Build_Address_Packet(16, 0xFFFF, BusFamily::I2c, 0),
                 QByteArray::fromHex("1000FFFF"));
        QCOMPARE(Build_Address_Packet(1, 0x0123, BusFamily::I2c, 0),
                 QByteArray::fromHex("01000123"));
        // The last byte of a 128 KiB part needs the third address byte.
        QCOMPARE(Build_Address_Packet(1, 0x1FFFF, BusFamily::I2c, 0),
                 QByteArray::fromHex("0101FFFF"));
        // Microwire sends its parameter instead of address bits 16..23.
        QCOMPARE(Build_Address_Packet(16, 0x7F, BusFamily::Microwire, 7),
                 QByteArray::fromHex("1007007F"));
        QCOMPARE(Build_Address_Packet(16, 0x1FFFF, BusFamily::Microwire, 9),
                 QByteArray::fromHex("1009FFFF"));
    }

    void commandLetters()
    {
        QCOMPARE(readLetter(0), 'R');
        QCOMPARE(readLetter(1), 'R');
        QCOMPARE(readLetter(2), 'r');
        QCOMPARE(writeLetter(0), 'W');
        QCOMPARE(writeLetter(1), 'W');
        QCOMPARE(writeLetter(2), 'w');
        QCOMPARE(familyDigit(BusFamily::I2c), '2');
        QCOMPARE(familyDigit(BusFamily::Microwire), '3');
    }

    void chunkCounts()
    {
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 8), AccessMode::Block), 8);
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 16), AccessMode::Block), 16);
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 17), AccessMode::Block), 16);
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 1), AccessMode::Block), 1);
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 0), AccessMode::Block), 0);
        QCOMPARE(chunkCount(makeDevice(BusFamily::Microwire, 7, 1), AccessMode::Block), 16);
        QCOMPARE(chunkCount(makeDevice(BusFamily::I2c, 8, 64), AccessMode::Byte), 1);
        QCOMPARE(chunkCount(makeDevice(BusFamily::Microwire, 7, 0), AccessMode::Byte), 1);
    }

    // Halves round to even, as a 256-byte read in 16-byte chunks shows them (6%, 12%, 19%, ...):
    // tst_eeprom_access's block read checks that on panel 3, and the packets of a block and a
    // byte access on the line.
    void percentages()
    {
        // A byte access: one chunk from 0x24 to 0x24.
        QCOMPARE(progressPercent(0x25, 0x24, 0x24), 100);
        // 128 KiB in 16-byte chunks stays exact in 64-bit arithmetic.
        QCOMPARE(progressPercent(65536, 0, 131071), 50);
        QCOMPARE(progressPercent(131072, 0, 131071), 100);
    }
};

QTEST_GUILESS_MAIN(AccessPacketsTest)
#include "tst_access_packets.moc"
