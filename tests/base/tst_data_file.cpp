#include "base/DataFileReader.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList words(const char* text) { return QString::fromUtf8(text).split(' '); }
}  // namespace

class DataFileTest : public QObject {
    Q_OBJECT
private slots:
    void itemRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QList<QStringList>>("rows");

        QTest::newRow("comments and a version line only")
            << "; comment\r\n;another\r\nvorle6.ini Ver 1.00\r\n"
            << "vorle6.ini Ver 1.00" << QList<QStringList>{};
        QTest::newRow("version line with a remark stays whole")
            << "Ver 1.23 ; remark\r\n"
            << "Ver 1.23 ; remark" << QList<QStringList>{};
        QTest::newRow("comment holding Ver replaces the version")
            << "Ver 1.00\r\n; Ver 2.00 old\r\n"
            << "; Ver 2.00 old" << QList<QStringList>{};
        QTest::newRow("last version wins") << "Ver 1\r\nVer 2\r\n"
                                           << "Ver 2" << QList<QStringList>{};
        QTest::newRow("tabs and blanks give the same words")
            << "A\tB  C\r\nA B C\r\n"
            << "" << QList<QStringList>{words("A B C"), words("A B C")};
        QTest::newRow("first equals sign becomes a word")
            << "NAME=TEXT 2 7\r\n"
            << "" << QList<QStringList>{words("NAME = TEXT 2 7")};
        QTest::newRow("only the first equals sign") << "a=b=c\r\n"
                                                    << "" << QList<QStringList>{words("a = b=c")};
        QTest::newRow("comma splits a line into rows")
            << "A 1, B 2\r\n"
            << "" << QList<QStringList>{words("A 1"), words("B 2")};
        QTest::newRow("quoted item keeps its commas")
            << "\"A, 1\",B\r\n"
            << "" << QList<QStringList>{words("A, 1"), words("B")};
        QTest::newRow("text after a closing quote is dropped")
            << "\"A 1\" junk,B\r\n"
            << "" << QList<QStringList>{words("A 1"), words("B")};
        QTest::newRow("blanks before an item are skipped")
            << "   \"Q 1\"\r\n"
            << "" << QList<QStringList>{words("Q 1")};
        QTest::newRow("bare LF and lone CR end lines")
            << "A\nB\rC"
            << "" << QList<QStringList>{words("A"), words("B"), words("C")};
        QTest::newRow("empty lines and empty items are skipped")
            << "\r\n\r\n , ,\r\nA\r\n"
            << "" << QList<QStringList>{words("A")};
        QTest::newRow("a semicolon anywhere makes a comment") << "A B;C\r\n"
                                                              << "" << QList<QStringList>{};
        QTest::newRow("no final line end") << "A B"
                                           << "" << QList<QStringList>{words("A B")};
    }
    void itemRules()
    {
        QFETCH(QString, text);
        QFETCH(QString, version);
        QFETCH(QList<QStringList>, rows);
        const DataFileContents contents = parseDataFile(text);
        QCOMPARE(contents.version, version);
        QCOMPARE(contents.rows, rows);
        QVERIFY(!contents.hasProblems());
    }

    void keepsTwentyFieldsAndCountsLongItems()
    {
        QStringList many;
        for (int i = 0; i < 70; ++i) many.append(QString::number(i));
        const DataFileContents contents =
            parseDataFile(many.mid(0, 25).join(' ') + "\r\n" + many.join(' ') + "\r\n");
        QCOMPARE(contents.rows.size(), 2);
        QCOMPARE(contents.rows[0], many.mid(0, 20));
        QCOMPARE(contents.rows[1], many.mid(0, 20));
        QCOMPARE(contents.itemsWithTooManyWords, 1);
    }

    void keepsAtMost101Rows()
    {
        QString text;
        for (int i = 0; i < 105; ++i) text += QStringLiteral("D%1 x 2 8 8\r\n").arg(i);
        const DataFileContents contents = parseDataFile(text);
        QCOMPARE(contents.rows.size(), 101);
        QCOMPARE(contents.rows.last().first(), QStringLiteral("D100"));
        QCOMPARE(contents.ignoredRows, 4);
    }

    void unterminatedQuoteTakesTheRest()
    {
        const DataFileContents contents = parseDataFile("A\r\n\"B C");
        QCOMPARE(contents.rows, (QList<QStringList>{words("A"), words("B C")}));
        QVERIFY(contents.endsInsideQuote);
    }

    void readsShiftJisFromDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("vorle6.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder("Shift_JIS");
        file.write(encoder.encode(QString::fromUtf8("24C02 2Kbit 2 8 8 0 0 ﾃｽﾄ／注記\r\n")));
        file.close();
        const auto contents = readDataFile(path);
        QVERIFY(contents.has_value());
        QCOMPARE(contents->rows.size(), 1);
        QCOMPARE(contents->rows[0].at(7), QString::fromUtf8("ﾃｽﾄ／注記"));
        QVERIFY(!readDataFile(dir.filePath("missing.ini")).has_value());
    }
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_data_file.moc"
