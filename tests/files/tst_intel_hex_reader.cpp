#include "files/IntelHexReader.h"
#include "image/MemoryImage.h"

#include <QTest>

#include <map>

namespace {

using Bytes = std::map<qint64, int>;  // address -> expected value; every other byte stays 0xFF

// A record from its digits after the colon, with the checksum appended.
QByteArray record(const QByteArray& digits)
{
    const QByteArray bytes = QByteArray::fromHex(digits);
    int sum = 0;
    for (char b : bytes) sum += static_cast<quint8>(b);
    return ':' + digits +
           QByteArray::number((0x100 - sum % 0x100) % 0x100, 16).toUpper().rightJustified(2, '0');
}

Bytes range(qint64 first, const QList<int>& values)
{
    Bytes result;
    for (int i = 0; i < values.size(); ++i) result[first + i] = values.at(i);
    return result;
}

Bytes ascending(qint64 first, qint64 count)
{
    Bytes result;
    for (qint64 i = 0; i < count; ++i) result[first + i] = static_cast<int>((first + i) & 0xFF);
    return result;
}

// A 16-byte record at `address` holding the low address bytes, as the writer would save them.
QByteArray ascendingRecord(int address)
{
    QByteArray digits = QByteArray::number(0x10000000 | (address << 8), 16).toUpper();
    for (int i = 0; i < 16; ++i) {
        digits += QByteArray::number((address + i) & 0xFF, 16).toUpper().rightJustified(2, '0');
    }
    return record(digits);
}

void compareImage(const MemoryImage& image, const Bytes& expected)
{
    for (qint64 address = 0; address < image.size(); ++address) {
        const auto it = expected.find(address);
        const int want = it == expected.end() ? 0xFF : it->second;
        if (image.at(address) != want) {
            QFAIL(qPrintable(QStringLiteral("address 0x%1 holds 0x%2, expected 0x%3")
                                 .arg(address, 0, 16)
                                 .arg(image.at(address), 0, 16)
                                 .arg(want, 0, 16)));
        }
    }
}

}  // namespace

class IntelHexReaderTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<Bytes>("expected");
        QTest::addColumn<int>("badRecords");
        QTest::addColumn<qint64>("lowestBeyond");
        QTest::addColumn<qint64>("bytesBeyond");

        const QByteArray end = ":00000001FF\r\n";
        QTest::newRow("writer's record")
            << ":10000000000102030405060708090A0B0C0D0E0F78\r\n" + end << qint64{256}
            << ascending(0, 16) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("lower case")
            << ":10000000000102030405060708090a0b0c0d0e0f78\r\n" + end << qint64{256}
            << ascending(0, 16) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("leading blanks and tab")
            << "   \t" + record("0100050042") + "\r\n"
            << qint64{256} << range(5, {0x42}) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("three data bytes, checksum not stored")
            << record("03001000AABBCC") + "\r\n"
            << qint64{256} << range(0x10, {0xAA, 0xBB, 0xCC}) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("short record padded with 0x00")
            << QByteArray(":0400200011\r\n") << qint64{256} << range(0x20, {0x11, 0, 0, 0}) << 1
            << qint64{-1} << qint64{0};
        QTest::newRow("half a byte counts as its one digit")
            << QByteArray(":020020001\r\n") << qint64{256} << range(0x20, {0x01, 0}) << 1
            << qint64{-1} << qint64{0};
        QTest::newRow("other record types change nothing")
            << record("02000001AABB") + "\r\n" + record("0400000300001234") + "\r\n" +
                   record("0400000500001234") + "\r\n" + record("0100000306") + "\r\n"
            << qint64{256} << Bytes{} << 0 << qint64{-1} << qint64{0};
        QTest::newRow("text without colon, comma fields, quotes")
            << "hello world\r\n;remark," + record("0100010055") + "\r\n\"" + record("0100020066") +
                   "\" trailing\r\n"
            << qint64{256} << range(1, {0x55, 0x66}) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("wrong checksum loaded and counted")
            << QByteArray(":0100000055AB\r\n:0100010066FF\r\n") << qint64{256}
            << range(0, {0x55, 0x66}) << 2 << qint64{-1} << qint64{0};
        QTest::newRow("missing checksum counted")
            << QByteArray(":0100000055\r\n") << qint64{256} << range(0, {0x55}) << 1 << qint64{-1}
            << qint64{0};
        QTest::newRow("character that is not hex counts 0")
            << QByteArray(":01000000G5A5\r\n") << qint64{256} << range(0, {0x05}) << 1 << qint64{-1}
            << qint64{0};
        QTest::newRow("LF, CR and no final line end")
            << record("0100000011") + "\n" + record("0100010022") + "\r" + record("0100020033")
            << qint64{256} << range(0, {0x11, 0x22, 0x33}) << 0 << qint64{-1} << qint64{0};
        QTest::newRow("last write wins")
            << record("020000001122") + "\r\n" + record("0100010033") + "\r\n"
            << qint64{256} << range(0, {0x11, 0x33}) << 0 << qint64{-1} << qint64{0};

        QByteArray sixteenRecords;
        for (int address = 0; address < 256; address += 16) {
            sixteenRecords += ascendingRecord(address) + "\r\n";
        }
        QTest::newRow("256 bytes into a 128-byte part")
            << sixteenRecords + end << qint64{128} << ascending(0, 128) << 0 << qint64{0x80}
            << qint64{128};
        QTest::newRow("data beyond first, then data that fits")
            << ascendingRecord(0x100) + "\r\n" + ascendingRecord(0x90) + "\r\n" +
                   ascendingRecord(0x10) + "\r\n"
            << qint64{128} << ascending(0x10, 16) << 0 << qint64{0x90} << qint64{32};
        QTest::newRow("record across the last address")
            << record("04007E0001020304") + "\r\n"
            << qint64{128} << range(0x7E, {1, 2}) << 0 << qint64{0x80} << qint64{2};
        QTest::newRow("extended linear address")
            << record("020000040001") + "\r\n" + record("0100100055") + "\r\n" +
                   record("020000040000") + "\r\n" + record("0100100066") + "\r\n"
            << qint64{131072} << Bytes{{0x10010, 0x55}, {0x10, 0x66}} << 0 << qint64{-1}
            << qint64{0};
        QTest::newRow("extended segment address")
            << record("020000021000") + "\r\n" + record("0100200077") + "\r\n"
            << qint64{131072} << Bytes{{0x10020, 0x77}} << 0 << qint64{-1} << qint64{0};
        QTest::newRow("extended address beyond the part")
            << record("020000040001") + "\r\n" + record("0100000077") + "\r\n"
            << qint64{65536} << Bytes{} << 0 << qint64{0x10000} << qint64{1};
        QTest::newRow("no image at all") << record("020000001122") + "\r\n"
                                         << qint64{0} << Bytes{} << 0 << qint64{0} << qint64{2};
    }
    void reads()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, size);
        QFETCH(Bytes, expected);
        QFETCH(int, badRecords);
        QFETCH(qint64, lowestBeyond);
        QFETCH(qint64, bytesBeyond);

        MemoryImage image;
        image.recreate(size);
        const ImageReadSummary summary = readIntelHex(text, image);
        compareImage(image, expected);
        QCOMPARE(summary.badRecords, qint64{badRecords});
        QCOMPARE(summary.lowestAddressBeyond, lowestBeyond);
        QCOMPARE(summary.bytesBeyond, bytesBeyond);
    }

    // The end record ends the data: records after it are counted, not loaded. A byte that a
    // record writes again is counted, the lowest such address kept; the last write wins.
    void endRecordAndOverlaps_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Bytes>("expected");
        QTest::addColumn<qint64>("recordsAfterEnd");
        QTest::addColumn<qint64>("overlappingBytes");
        QTest::addColumn<qint64>("lowestOverlap");

        const QByteArray end = ":00000001FF\r\n";
        QTest::newRow("data after the end record")
            << record("0100000055") + "\r\n" + end + record("0100010066") + "\r\n" +
                   record("020000040001") + "\r\n" + end
            << range(0, {0x55}) << qint64{3} << qint64{0} << qint64{-1};
        QTest::newRow("a bad record after the end is no bad record")
            << end + QByteArray(":0100000055AB\r\n") << Bytes{} << qint64{1} << qint64{0}
            << qint64{-1};
        QTest::newRow("records that overlap")
            << record("0400100011223344") + "\r\n" + record("04000E00AABBCCDD") + "\r\n" +
                   record("0100120099") + "\r\n"
            << Bytes{{0x0E, 0xAA}, {0x0F, 0xBB}, {0x10, 0xCC},
                     {0x11, 0xDD}, {0x12, 0x99}, {0x13, 0x44}}
            << qint64{0} << qint64{3} << qint64{0x10};
        QTest::newRow("the same record twice")
            << record("0100050042") + "\r\n" + record("0100050042") + "\r\n"
            << range(5, {0x42}) << qint64{0} << qint64{1} << qint64{5};
        QTest::newRow("overlap through a bank record")
            << record("0100100055") + "\r\n" + record("020000020000") + "\r\n" +
                   record("020000040000") + "\r\n" + record("0100100066") + "\r\n"
            << range(0x10, {0x66}) << qint64{0} << qint64{1} << qint64{0x10};
        QTest::newRow("side by side is no overlap")
            << record("020000001122") + "\r\n" + record("020002003344") + "\r\n"
            << range(0, {0x11, 0x22, 0x33, 0x44}) << qint64{0} << qint64{0} << qint64{-1};
    }
    void endRecordAndOverlaps()
    {
        QFETCH(QByteArray, text);
        QFETCH(Bytes, expected);
        QFETCH(qint64, recordsAfterEnd);
        QFETCH(qint64, overlappingBytes);
        QFETCH(qint64, lowestOverlap);
        MemoryImage image;
        image.recreate(64);
        const ImageReadSummary summary = readIntelHex(text, image);
        compareImage(image, expected);
        QCOMPARE(summary.recordsAfterEnd, recordsAfterEnd);
        QCOMPARE(summary.overlappingBytes, overlappingBytes);
        QCOMPARE(summary.lowestOverlap, lowestOverlap);
        QCOMPARE(summary.badRecords, qint64{0});
    }

    // Lines that are not records are counted once each, with the first one's number; blank
    // lines, a byte-order mark and a closing Ctrl-Z are not among them.
    void linesThatAreNotRecords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Bytes>("expected");
        QTest::addColumn<qint64>("ignoredLines");
        QTest::addColumn<qint64>("firstIgnoredLine");

        const QByteArray data = record("0100000055");
        QTest::newRow("none") << data + "\r\n\r\n  \r\n" + data + "\r\n\x1A" << range(0, {0x55})
                              << qint64{0} << qint64{0};
        QTest::newRow("byte-order mark before the first record")
            << "\xEF\xBB\xBF" + data + "\r\n"
            << range(0, {0x55}) << qint64{0} << qint64{0};
        QTest::newRow("a mark further on is text")
            << data + "\r\n\xEF\xBB\xBF" + record("0100010066") + "\r\n"
            << range(0, {0x55}) << qint64{1} << qint64{2};
        QTest::newRow("CR LF lines") << "\r\ncomment\r\n" + data + "\r\nmore, and more\r\n"
                                     << range(0, {0x55}) << qint64{2} << qint64{2};
        QTest::newRow("LF and CR lines") << data + "\n\nx\ry\n"
                                         << range(0, {0x55}) << qint64{2} << qint64{3};
        QTest::newRow("quoted text over two lines")
            << "\"a\r\nb\"\r\n" + data + "\r\nz" << range(0, {0x55}) << qint64{2} << qint64{1};
        QTest::newRow("a field after a record on its line")
            << data + ",remark\r\n"
            << range(0, {0x55}) << qint64{1} << qint64{1};
    }
    void linesThatAreNotRecords()
    {
        QFETCH(QByteArray, text);
        QFETCH(Bytes, expected);
        QFETCH(qint64, ignoredLines);
        QFETCH(qint64, firstIgnoredLine);

        MemoryImage image;
        image.recreate(16);
        const ImageReadSummary summary = readIntelHex(text, image);
        compareImage(image, expected);
        QCOMPARE(summary.ignoredLines, ignoredLines);
        QCOMPARE(summary.firstIgnoredLine, firstIgnoredLine);
    }

    // A file read in pieces gives what it gives read at once, wherever the pieces are cut.
    void piecesGiveTheSameResult_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("fields and quotes")
            << "  " + record("0300000011223") + "\r\n\"" + record("0100100044") + "\"x,y\r\n" +
                   record("020000020001") + "\n" + record("0100000055") + "\r:0100200066";
        QTest::newRow("byte-order mark and lines that are not records")
            << "\xEF\xBB\xBF" + record("0100000011") + "\r\nnote\r\n\r\n\"q\r\nq\"\r\n" +
                   record("0100010022") + "\rend";
        QTest::newRow("start of a mark only") << QByteArray("\xEF\xBB:0100000055AA\r\n");
    }
    void piecesGiveTheSameResult()
    {
        QFETCH(QByteArray, text);
        MemoryImage whole;
        whole.recreate(256);
        const ImageReadSummary expected = readIntelHex(text, whole);

        for (qsizetype cut = 0; cut <= text.size(); ++cut) {
            for (qsizetype second = cut; second <= text.size(); second += 7) {
                MemoryImage image;
                image.recreate(256);
                IntelHexReader reader(image);
                reader.feed(QByteArrayView(text).first(cut));
                reader.feed(QByteArrayView(text).sliced(cut, second - cut));
                reader.feed(QByteArrayView(text).sliced(second));
                reader.finish();
                QCOMPARE(image.bytes(), whole.bytes());
                QVERIFY(reader.summary() == expected);
            }
        }
    }

    // Only the first 521 characters of a field can matter; a longer one must not overrun.
    void overlongFieldIsHarmless()
    {
        MemoryImage image;
        image.recreate(512);
        const QByteArray text = ":FF000000" + QByteArray(100000, 'A') + "\r\n";
        const ImageReadSummary summary = readIntelHex(text, image);
        QCOMPARE(summary.storedBytes, qint64{255});
        QCOMPARE(image.at(254), std::uint8_t{0xAA});
        QCOMPARE(image.at(255), std::uint8_t{0xFF});
    }
};

QTEST_GUILESS_MAIN(IntelHexReaderTest)
#include "tst_intel_hex_reader.moc"
