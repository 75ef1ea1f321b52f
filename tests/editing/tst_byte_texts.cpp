// Bytes as text and back: hexadecimal text, the text column's characters, and the patterns
// of find and replace in their three forms.
#include "editing/ByteTexts.h"
#include "editing/SearchPattern.h"

#include <QTest>

using Error = SearchPattern::Error;
using Form = SearchPattern::Form;

class ByteTextsTest : public QObject {
    Q_OBJECT
private slots:
    void patterns_data();
    void patterns();
    void hexLines();
    void textColumn();
};

void ByteTextsTest::patterns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("form");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("line");  // of the error
    QTest::addColumn<int>("column");
    const int hex = int(Form::Hex), ascii = int(Form::Ascii), sjis = int(Form::ShiftJis);
    const int none = int(Error::None);
    QTest::newRow("blanks") << "0A 1B" << hex << QByteArray("\x0A\x1B") << none << 1 << 1;
    QTest::newRow("pairs") << "0a1b" << hex << QByteArray("\x0A\x1B") << none << 1 << 1;
    QTest::newRow("C array") << "0x0A,0x1B" << hex << QByteArray("\x0A\x1B") << none << 1 << 1;
    QTest::newRow("lines and tabs") << "DE AD\r\n\tBE EF\n"
                                    << hex << QByteArray("\xDE\xAD\xBE\xEF") << none << 1 << 1;
    QTest::newRow("MAC address") << "00:1A-2B" << hex << QByteArray("\x00\x1A\x2B", 3) << none << 1
                                 << 1;
    QTest::newRow("one digit") << "0xA F" << hex << QByteArray("\x0A\x0F") << none << 1 << 1;
    QTest::newRow("not a digit") << "0A\n1G" << hex << QByteArray() << int(Error::NotHexadecimal)
                                 << 2 << 2;
    QTest::newRow("odd digits") << "0A 1B2" << hex << QByteArray() << int(Error::OddDigits) << 1
                                << 4;
    QTest::newRow("prefix alone") << "0A 0x" << hex << QByteArray() << int(Error::MissingDigits)
                                  << 1 << 4;
    QTest::newRow("full-width digit")
        << "０A" << hex << QByteArray() << int(Error::NotHexadecimal) << 1 << 1;
    QTest::newRow("separators only") << " ,\n"
                                     << hex << QByteArray() << int(Error::Empty) << 1 << 1;
    QTest::newRow("empty") << "" << ascii << QByteArray() << int(Error::Empty) << 1 << 1;
    QTest::newRow("ASCII") << "JP-1" << ascii << QByteArray("JP-1") << none << 1 << 1;
    QTest::newRow("not ASCII") << "Aｱ" << ascii << QByteArray() << int(Error::NotAscii) << 1 << 2;
    QTest::newRow("half-width katakana")
        << "ﾃｽﾄ" << sjis << QByteArray("\xC3\xBD\xC4") << none << 1 << 1;
    QTest::newRow("kanji") << "A漢" << sjis << QByteArray("A\x8A\xBF") << none << 1 << 1;
    QTest::newRow("not in Shift_JIS")
        << "a한" << sjis << QByteArray() << int(Error::NotShiftJis) << 1 << 2;
}

void ByteTextsTest::patterns()
{
    QFETCH(QString, text);
    QFETCH(int, form);
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(int, line);
    QFETCH(int, column);
    const SearchPattern pattern = SearchPattern::fromText(text, Form(form));
    QCOMPARE(int(pattern.error), error);
    if (pattern.ok()) {
        QCOMPARE(pattern.bytes, bytes);
        if (form == int(Form::Hex)) QCOMPARE(ByteTexts::parseHex(text).bytes, bytes);
        return;
    }
    QCOMPARE(pattern.place.line, line);
    QCOMPARE(pattern.place.column, column);
}

void ByteTextsTest::hexLines()
{
    QByteArray bytes;
    for (int i = 0; i < 18; ++i) bytes.append(static_cast<char>(i * 15));
    const QString text = ByteTexts::hexLines(bytes);
    QCOMPARE(text, QStringLiteral("00 0F 1E 2D 3C 4B 5A 69 78 87 96 A5 B4 C3 D2 E1\nF0 FF"));
    QCOMPARE(ByteTexts::parseHex(text).bytes, bytes);
    QCOMPARE(ByteTexts::hexLines({}), QString());
}

void ByteTextsTest::textColumn()
{
    // As the grid's text column shows them: comma and double quote as the substitute too,
    // 0x7F as a blank.
    QCOMPARE(ByteTexts::textColumn(QByteArray("A,\"\xB1\x00\x7F", 6)), QStringLiteral("A･･ｱ･ "));
}

QTEST_GUILESS_MAIN(ByteTextsTest)
#include "tst_byte_texts.moc"
