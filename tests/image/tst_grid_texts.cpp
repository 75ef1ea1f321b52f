// The character rules, cell texts, row labels, checksum and editor box rules, as tables.
#include "image/ByteEditorRules.h"
#include "image/CheckSum.h"
#include "image/GridAddress.h"
#include "image/GridTexts.h"

#include <QTest>

using namespace GridTexts;
using namespace ByteEditorRules;

namespace {

// 256 characters, one per byte value, written as 16 rows of 16.
QString table(const QStringList& rows)
{
    QString all = rows.join(QString());
    if (all.size() != 256) qFatal("table of %d characters", int(all.size()));
    return all;
}

const QString kDots = QString(16, QChar(0xFF65));
const QString kKatakana = QStringLiteral("ｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ");
const QString kAsciiRows = QStringLiteral(
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~");

}  // namespace

class GridTextsTest : public QObject {
    Q_OBJECT
private slots:
    void characterRules_data();
    void characterRules();
    void byteCellAndRowLabel();
    void rowTexts();
    void gridAddress();
    void checkSum_data();
    void checkSum();
    void hexKeyPress_data();
    void hexKeyPress();
    void decimalBox_data();
    void decimalBox();
    void characterBox_data();
    void characterBox();
};

void GridTextsTest::characterRules_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("expected");
    // Fill rule: no blank, comma or double quote; 0x7F and 0xA0 as blanks; katakana shown.
    QTest::newRow("fill") << 0
                          << table({kDots, kDots, QStringLiteral("･!･#$%&'()*+･-./"),
                                    kAsciiRows + QStringLiteral(" "), kDots, kDots,
                                    QStringLiteral(" ｡｢｣､･ｦｧｨｩｪｫｬｭｮｯ"), kKatakana, kDots, kDots});
    // Click rule: printable ASCII only, the blank included.
    QTest::newRow("click") << 1
                           << table({kDots, kDots, QStringLiteral(" !\"#$%&'()*+,-./"),
                                     kAsciiRows + QStringLiteral("･"), kDots, kDots, kDots, kDots,
                                     kDots, kDots, kDots, kDots});
    // Editor rule: ASCII with the blank, comma and quote, and the katakana.
    QTest::newRow("editor") << 2
                            << table({kDots, kDots, QStringLiteral(" !\"#$%&'()*+,-./"),
                                      kAsciiRows + QStringLiteral(" "), kDots, kDots,
                                      QStringLiteral(" ｡｢｣､･ｦｧｨｩｪｫｬｭｮｯ"), kKatakana, kDots, kDots});
}

void GridTextsTest::characterRules()
{
    QFETCH(int, rule);
    QFETCH(QString, expected);
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const QChar shown = rule == 0   ? fillRuleCharacter(byte)
                            : rule == 1 ? clickRuleCharacter(byte)
                                        : editorRuleCharacter(byte);
        QVERIFY2(shown == expected.at(b), qPrintable(QStringLiteral("byte 0x%1: got U+%2")
                                                         .arg(b, 2, 16, QLatin1Char('0'))
                                                         .arg(shown.unicode(), 4, 16)));
    }
}

void GridTextsTest::byteCellAndRowLabel()
{
    QCOMPARE(byteCellText(0x00), QStringLiteral("0x00"));
    QCOMPARE(byteCellText(0x0A), QStringLiteral("0x0A"));
    QCOMPARE(byteCellText(0xFF), QStringLiteral("0xFF"));
    QCOMPARE(rowLabelText(0x00000), QStringLiteral("0x00000"));
    QCOMPARE(rowLabelText(0x00010), QStringLiteral("0x00010"));
    QCOMPARE(rowLabelText(0x0ABC0), QStringLiteral("0x0ABC0"));
    QCOMPARE(rowLabelText(0x1FFF0), QStringLiteral("0x1FFF0"));
}

void GridTextsTest::rowTexts()
{
    QByteArray image = QByteArray("A, \"\xB1\xA5~\x7F", 8) + QByteArray(8, '\xFF');
    QCOMPARE(fillRuleRowText(image, 0), QStringLiteral("A･･･ｱ･~ ････････"));
    QCOMPARE(editorRuleRowText(image, 0), QStringLiteral("A, \"ｱ･~ ････････"));
    // A row running past the end of the image stops with it.
    QCOMPARE(fillRuleRowText(image.left(4), 0), QStringLiteral("A･･･"));
    QCOMPARE(fillRuleRowText(image, 16), QString());
}

void GridTextsTest::gridAddress()
{
    QCOMPARE(GridAddress::addressOf(1, 1), std::optional<qint64>(0));
    QCOMPARE(GridAddress::addressOf(2, 1), std::optional<qint64>(0x10));
    QCOMPARE(GridAddress::addressOf(3, 6), std::optional<qint64>(0x25));
    QCOMPARE(GridAddress::addressOf(8192, 16), std::optional<qint64>(0x1FFFF));
    QCOMPARE(GridAddress::addressOf(0, 0), std::nullopt);
    QCOMPARE(GridAddress::addressOf(0, 5), std::nullopt);
    QCOMPARE(GridAddress::addressOf(4, 0), std::nullopt);
    QCOMPARE(GridAddress::addressOf(4, 17), std::nullopt);
    QCOMPARE(GridAddress::rowOf(0x25), 3);
    QCOMPARE(GridAddress::columnOf(0x25), 6);
    QCOMPARE(GridAddress::dataRowCount(131072), 8192);
    QCOMPARE(GridAddress::dataRowCount(0), 0);
}

void GridTextsTest::checkSum_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank 256") << QByteArray(256, '\xFF') << QStringLiteral("CheckSum:FF00");
    // Blank images of other sizes, the fifth digit dropped: tst_image_view's checksum of each size.
    QTest::newRow("zeros") << QByteArray(256, '\0') << QStringLiteral("CheckSum:0000");
    QByteArray one(256, '\0');
    one[17] = '\x0A';
    QTest::newRow("one 0x0A") << one << QStringLiteral("CheckSum:000A");
    QTest::newRow("no image") << QByteArray() << QStringLiteral("CheckSum:0000");
}

void GridTextsTest::checkSum()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, expected);
    QCOMPARE(CheckSumText(image), expected);
}

void GridTextsTest::hexKeyPress_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("digit") << int('7') << int('7');
    QTest::newRow("lower a") << int('a') << int('A');
    QTest::newRow("lower f") << int('f') << int('F');
    QTest::newRow("G") << int('G') << 0;
    QTest::newRow("minus") << int('-') << 0;
    QTest::newRow("backspace") << 8 << 8;
    QTest::newRow("return") << 13 << 0;
    QTest::newRow("ctrl-v") << 22 << 0;
    QTest::newRow("full-width A") << 0xFF21 << 0;
}

void GridTextsTest::hexKeyPress()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    QCOMPARE(ByteEditorRules::hexKeyPress(key), expected);
}

void GridTextsTest::decimalBox_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("showMaximum");
    QTest::addColumn<int>("expected");  // -1: byte unchanged
    QTest::newRow("255") << "255" << false << 255;
    QTest::newRow("letters") << "abc" << true << 255;
    QTest::newRow("254.5") << "254.5" << false << 254;
    QTest::newRow("255.4 above 255") << "255.4" << true << 255;
    QTest::newRow("-0.5 rounds to 0") << "-0.5" << false << 0;
    QTest::newRow("-0.6") << "-0.6" << false << -1;
    QTest::newRow("minus sign only") << "-" << true << 255;
}

void GridTextsTest::decimalBox()
{
    QFETCH(QString, text);
    QFETCH(bool, showMaximum);
    QFETCH(int, expected);
    const DecimalBoxEntry entry = decimalBoxEntry(text);
    QCOMPARE(entry.showMaximum, showMaximum);
    QCOMPARE(entry.byte,
             expected < 0 ? std::nullopt : std::optional<std::uint8_t>(std::uint8_t(expected)));
}

void GridTextsTest::characterBox_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");  // -1: byte unchanged
    QTest::newRow("A") << "A" << 0x41;
    QTest::newRow("blank") << " " << 0x20;
    QTest::newRow("backslash") << "\\" << 0x5C;
    QTest::newRow("tilde") << "~" << 0x7E;
    QTest::newRow("katakana a") << "ｱ" << 0xB1;
    QTest::newRow("middle dot") << "･" << 0xA5;
    QTest::newRow("semi-voiced mark") << "ﾟ" << 0xDF;
    QTest::newRow("first character counts") << "BC" << 0x42;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("hiragana, double-byte") << "あ" << -1;
    QTest::newRow("full-width A, double-byte") << "Ａ" << -1;
    QTest::newRow("euro sign, not in Shift_JIS") << "€" << -1;
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80") << -1;
    QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) << -1;
}

void GridTextsTest::characterBox()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(characterBoxByte(text),
             expected < 0 ? std::nullopt : std::optional<std::uint8_t>(expected));
}

QTEST_APPLESS_MAIN(GridTextsTest)
#include "tst_grid_texts.moc"
