#include "files/SRecordReader.h"
#include "files/SRecordWriter.h"
#include "image/MemoryImage.h"

#include <QTest>

#include <map>

namespace {

using Bytes = std::map<qint64, int>;  // address -> expected value; every other byte stays 0xFF

// A record of `type` from the digits of its address and data, with its count and checksum.
QByteArray record(char type, const QByteArray& digits)
{
    const QByteArray bytes = QByteArray::fromHex(digits);
    int sum = static_cast<int>(bytes.size()) + 1;
    for (char b : bytes) sum += static_cast<quint8>(b);
    const QByteArray count =
        QByteArray::number(bytes.size() + 1, 16).toUpper().rightJustified(2, '0');
    return QByteArray("S") + type + count + digits +
           QByteArray::number(~sum & 0xFF, 16).toUpper().rightJustified(2, '0');
}

Bytes range(qint64 first, const QList<int>& values)
{
    Bytes result;
    for (int i = 0; i < values.size(); ++i) result[first + i] = values.at(i);
    return result;
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

QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) line.chop(1);
    return lines;
}

}  // namespace

class SRecordTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<Bytes>("expected");
        QTest::addColumn<qint64>("badRecords");
        QTest::addColumn<qint64>("lowestBeyond");
        QTest::addColumn<qint64>("ignoredLines");
        QTest::addColumn<qint64>("firstIgnoredLine");

        const QByteArray s1 = record('1', "0010AABBCC");
        const Bytes s1Bytes = range(0x10, {0xAA, 0xBB, 0xCC});
        QTest::newRow("S1, CR LF")
            << s1 + "\r\n"
            << qint64{256} << s1Bytes << qint64{0} << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("LF and no final line end")
            << s1 + "\n" + record('1', "002011") << qint64{256}
            << Bytes{{0x10, 0xAA}, {0x11, 0xBB}, {0x12, 0xCC}, {0x20, 0x11}} << qint64{0}
            << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("lower case")
            << s1.toLower() + "\r\n"
            << qint64{256} << s1Bytes << qint64{0} << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("S2 and S3 addresses")
            << record('2', "01000155") + "\r\n" + record('3', "0001000266") + "\r\n"
            << qint64{131072} << Bytes{{0x10001, 0x55}, {0x10002, 0x66}} << qint64{0} << qint64{-1}
            << qint64{0} << qint64{0};
        QTest::newRow("header, count, end records and data after the end")
            << record('0', "000048445200") + "\r\n" + s1 + "\r\n" + record('5', "0001") + "\r\n" +
                   record('6', "000001") + "\r\n" + record('9', "0000") + "\r\n" +
                   record('8', "000000") + "\r\n" + record('7', "00000000") + "\r\n" +
                   record('1', "000042") + "\r\n"
            << qint64{256} << Bytes{{0x10, 0xAA}, {0x11, 0xBB}, {0x12, 0xCC}, {0x00, 0x42}}
            << qint64{0} << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("wrong checksum loaded and counted")
            << QByteArray("S104000055A7\r\nS104000166FF\r\n") << qint64{256}
            << range(0, {0x55, 0x66}) << qint64{2} << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("blanks, byte-order mark, Ctrl-Z")
            << "\xEF\xBB\xBF  " + s1 + " \t\r\n\r\n\x1A" << qint64{256} << s1Bytes << qint64{0}
            << qint64{-1} << qint64{0} << qint64{0};
        QTest::newRow("across the part's end") << record('1', "007E01020304") + "\r\n"
                                               << qint64{128} << range(0x7E, {1, 2}) << qint64{0}
                                               << qint64{0x80} << qint64{0} << qint64{0};
        QTest::newRow("lines that are not records")
            << "text\r\n" + s1 + "\r\n" + record('4', "0000") + "\r\nS1040000GG00\r\n" +
                   "S105000055A6\r\nS10400005\r\n:0100000055AA\r\nS\r\n" + s1 + "00\r\n"
            << qint64{256} << s1Bytes << qint64{0} << qint64{-1} << qint64{8} << qint64{1};
        QTest::newRow("a record too long for any count")
            << s1 + "\r\n" + QByteArray("S1") + QByteArray(600, 'F') + "\r\n"
            << qint64{256} << s1Bytes << qint64{0} << qint64{-1} << qint64{1} << qint64{2};
        QTest::newRow("no image at all")
            << s1 + "\r\n"
            << qint64{0} << Bytes{} << qint64{0} << qint64{0x10} << qint64{0} << qint64{0};
    }
    void reads()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, size);
        QFETCH(Bytes, expected);
        QFETCH(qint64, badRecords);
        QFETCH(qint64, lowestBeyond);
        QFETCH(qint64, ignoredLines);
        QFETCH(qint64, firstIgnoredLine);

        MemoryImage image;
        image.recreate(size);
        const ImageReadSummary summary = readSRecords(text, image);
        compareImage(image, expected);
        QCOMPARE(summary.badRecords, badRecords);
        QCOMPARE(summary.lowestAddressBeyond, lowestBeyond);
        QCOMPARE(summary.ignoredLines, ignoredLines);
        QCOMPARE(summary.firstIgnoredLine, firstIgnoredLine);
    }

    // A file read in pieces gives what it gives read at once, wherever the pieces are cut.
    void piecesGiveTheSameResult()
    {
        const QByteArray text = "\xEF\xBB\xBF" + record('0', "0000") + "\r\n  " +
                                record('1', "0010AABB") + " \r\nnote\n\n" +
                                record('2', "00002011") + "\rS104000055A7\r\n" +
                                record('1', "003033");
        MemoryImage whole;
        whole.recreate(256);
        const ImageReadSummary expected = readSRecords(text, whole);
        QCOMPARE(expected.storedBytes, qint64{5});

        for (qsizetype cut = 0; cut <= text.size(); ++cut) {
            for (qsizetype second = cut; second <= text.size(); second += 5) {
                MemoryImage image;
                image.recreate(256);
                SRecordReader reader(image);
                reader.feed(QByteArrayView(text).first(cut));
                reader.feed(QByteArrayView(text).sliced(cut, second - cut));
                reader.feed(QByteArrayView(text).sliced(second));
                reader.finish();
                QCOMPARE(image.bytes(), whole.bytes());
                QVERIFY(reader.summary() == expected);
            }
        }
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QList<QByteArray>>("expected");
        QByteArray ascending(16, 0);
        for (int i = 0; i < 16; ++i) ascending[i] = static_cast<char>(i);
        QTest::newRow("16 bytes") << ascending
                                  << QList<QByteArray>{"S0030000FC",
                                                       "S1130000000102030405060708090A0B0C0D0E0F74",
                                                       "S5030001FB", "S9030000FC"};
        QTest::newRow("no image") << QByteArray()
                                  << QList<QByteArray>{"S0030000FC", "S5030000FC", "S9030000FC"};
    }
    void writes()
    {
        QFETCH(QByteArray, image);
        QFETCH(QList<QByteArray>, expected);
        const QByteArray text = sRecordText(image);
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(linesOf(text), expected);
    }

    void recordKindBySize_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("lastData");
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("64 KiB: S1") << qint64{65536} << QByteArray("S113FFF0")
                                    << QByteArray("S5031000EC") << QByteArray("S9030000FC");
        QTest::newRow("128 KiB: S2") << qint64{131072} << QByteArray("S21401FFF0")
                                     << QByteArray("S5032000DC") << QByteArray("S804000000FB");
    }
    void recordKindBySize()
    {
        QFETCH(qint64, size);
        QFETCH(QByteArray, lastData);
        QFETCH(QByteArray, count);
        QFETCH(QByteArray, end);
        const QList<QByteArray> lines = linesOf(sRecordText(QByteArray(size, '\x5A')));
        QCOMPARE(lines.size(), size / 16 + 3);
        QVERIFY(lines.at(lines.size() - 3).startsWith(lastData));
        QCOMPARE(lines.at(lines.size() - 2), count);
        QCOMPARE(lines.last(), end);
    }
};

QTEST_GUILESS_MAIN(SRecordTest)
#include "tst_srecord.moc"
