#include "base/FileExists.h"
#include "base/HexText.h"
#include "base/NumberText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class SharedRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void hexValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("lone a") << "a" << 10;
        QTest::newRow("ff") << "ff" << 255;
        QTest::newRow("FF") << "FF" << 255;
        QTest::newRow("only last four digits") << "12345" << 0x2345;
        QTest::newRow("not a digit counts 0") << "G1" << 1;
        QTest::newRow("blank then 1") << " 1" << 1;
        QTest::newRow("four digits") << "FFFF" << 0xFFFF;
        QTest::newRow("mixed case") << "aB" << 0xAB;
        QTest::newRow("non-ascii") << QString::fromUtf8("ｱ1") << 1;
    }
    void hexValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(HexValue(text), value);
    }

    void hexDigitValueTakesOnlyUpperCase()
    {
        QCOMPARE(HexDigitValue(QLatin1Char('0')), 0);
        QCOMPARE(HexDigitValue(QLatin1Char('9')), 9);
        QCOMPARE(HexDigitValue(QLatin1Char('A')), 10);
        QCOMPARE(HexDigitValue(QLatin1Char('F')), 15);
        QCOMPARE(HexDigitValue(QLatin1Char('a')), 0);
        QCOMPARE(HexDigitValue(QLatin1Char('G')), 0);
        QCOMPARE(HexDigitValue(QLatin1Char(' ')), 0);
    }

    void hexTextPadsAndUpperCases()
    {
        QCOMPARE(hexText(0xA, 2), QStringLiteral("0A"));
        QCOMPARE(hexText(0x1FFF0, 5), QStringLiteral("1FFF0"));
        QCOMPARE(hexText(0xBEEF, 4), QStringLiteral("BEEF"));
        QCOMPARE(hexText(0x12345, 4), QStringLiteral("12345"));
    }

    void fileExists()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("data.bin");
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(dir.path()));
        QVERIFY(!FileExists(path));

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("abc");
        file.close();
        const QDateTime modified = QFileInfo(path).lastModified();
        QVERIFY(FileExists(path));
        QCOMPARE(QFileInfo(path).size(), 3);
        QCOMPARE(QFileInfo(path).lastModified(), modified);

        // A pipe without a writer would keep a trial open waiting for ever.
        const QString pipe = dir.filePath("pipe");
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!FileExists(pipe));
        QVERIFY(!FileExists(QStringLiteral("/dev/null")));
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("3.5") << 3.5 << 4.0;
        QTest::newRow("-0.5") << -0.5 << 0.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("12.5") << 12.5 << 12.0;
        QTest::newRow("37.5") << 37.5 << 38.0;
        QTest::newRow("2.4999") << 2.4999 << 2.0;
        QTest::newRow("2.5001") << 2.5001 << 3.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(::roundHalfEven(value), rounded);
    }

    void parseDecimalAcceptsPlainNumbersOnly()
    {
        QCOMPARE(parseDecimal("12").value(), 12.0);
        QCOMPARE(parseDecimal(" -1 ").value(), -1.0);
        QCOMPARE(parseDecimal("2.5").value(), 2.5);
        QCOMPARE(parseDecimal(".5").value(), 0.5);
        QCOMPARE(parseDecimal("1e3").value(), 1000.0);
        QVERIFY(!parseDecimal(""));
        QVERIFY(!parseDecimal("abc"));
        QVERIFY(!parseDecimal("12abc"));
        QVERIFY(!parseDecimal("inf"));
        QVERIFY(!parseDecimal("1e999"));
    }

    void parseInt32Field()
    {
        QCOMPARE(::parseInt32Field("").value(), 0);
        QCOMPARE(::parseInt32Field("7").value(), 7);
        QCOMPARE(::parseInt32Field("2.5").value(), 2);
        QVERIFY(!::parseInt32Field("x7"));
        QVERIFY(!::parseInt32Field("3000000000"));
    }
};

QTEST_GUILESS_MAIN(SharedRoutinesTest)
#include "tst_shared_routines.moc"
