#include "files/IntelHexWriter.h"

#include <QTest>

#include <array>

namespace {

QByteArray filled(qint64 size, char value) { return QByteArray(size, value); }

QByteArray ascending(qint64 size)
{
    QByteArray bytes(size, 0);
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>(i);
    return bytes;
}

// The file's lines; fails the test when a line does not end with CR LF.
QList<QByteArray> linesOf(const QByteArray& text)
{
    [&] { QVERIFY2(text.endsWith("\r\n"), "the last line ends with CR LF"); }();
    QList<QByteArray> lines = text.chopped(2).split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    [&] { QCOMPARE(text.count('\n'), text.count("\r\n")); }();
    return lines;
}

}  // namespace

class IntelHexWriterTest : public QObject {
    Q_OBJECT
private slots:
    void goldenLines_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("16 x 0xFF, data")
            << filled(16, '\xFF') << 0 << QByteArray(":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF00");
        QTest::newRow("16 x 0xFF, end") << filled(16, '\xFF') << 1 << QByteArray(":00000001FF");
        QTest::newRow("all 0xFF, second")
            << filled(256, '\xFF') << 1
            << QByteArray(":10001000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF0");
        QTest::newRow("0x00..0x0F")
            << ascending(16) << 0 << QByteArray(":10000000000102030405060708090A0B0C0D0E0F78");
        QTest::newRow("address digits") << filled(65536, '\0') << 0xABC
                                        << QByteArray(
                                               ":10ABC00000000000000000000000000000000000"
                                               "85");
    }
    void goldenLines()
    {
        QFETCH(QByteArray, image);
        QFETCH(int, line);
        QFETCH(QByteArray, expected);
        const QList<QByteArray> lines = linesOf(intelHexText(image));
        QVERIFY(line < lines.size());
        QCOMPARE(lines.at(line), expected);
    }

    void recordCount_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("records");
        QTest::addColumn<QByteArray>("lastRecordStart");
        QTest::newRow("none") << qint64{0} << 0 << QByteArray();
        // A short last record: no byte of a saved selection is left out.
        QTest::newRow("less than a record") << qint64{8} << 1 << QByteArray(":08000000");
        QTest::newRow("a record and a half") << qint64{24} << 2 << QByteArray(":08001000");
        QTest::newRow("16") << qint64{16} << 1 << QByteArray(":10000000");
        QTest::newRow("64 KiB") << qint64{65536} << 4096 << QByteArray(":10FFF000");
        // 8,192 data records and a bank record before each 64 KiB.
        QTest::newRow("128 KiB") << qint64{131072} << 8194 << QByteArray(":10FFF000");
    }
    void recordCount()
    {
        QFETCH(qint64, size);
        QFETCH(int, records);
        QFETCH(QByteArray, lastRecordStart);
        const QList<QByteArray> lines = linesOf(intelHexText(filled(size, '\x5A')));
        QCOMPARE(lines.size(), records + 1);
        QCOMPARE(lines.last(), QByteArray(":00000001FF"));
        if (records > 0) QVERIFY(lines.at(records - 1).startsWith(lastRecordStart));
    }

    void appendRecordChecksum_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QByteArray>("expected");
        const QList<std::array<const char*, 3>> rows = {
            {"end record", ":00000001", ":00000001FF"},
            {"blank record", ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF",
             ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF00"},
            {"classic", ":0300300002337A", ":0300300002337A1E"},
            {"lower case", ":0300300002337a", ":0300300002337a1E"},
            {"sum is a multiple of 256", ":0100000000FF", ":0100000000FF00"},
            {"odd length", ":1", ":1FF"},
            {"not hex counts 0", ":G1", ":G1FF"},
            {"colon only", ":", ":00"},
        };
        for (const auto& [name, record, expected] : rows) {
            QTest::newRow(name) << QByteArray(record) << QByteArray(expected);
        }
    }
    void appendRecordChecksum()
    {
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, expected);
        AppendRecordChecksum(record);
        QCOMPARE(record, expected);
    }
};

QTEST_GUILESS_MAIN(IntelHexWriterTest)
#include "tst_intel_hex_writer.moc"
