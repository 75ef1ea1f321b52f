// The byte editor driven through the main window's widgets: clicks on grid cells, typing into
// the boxes, clicks on the bit boxes, keyboard moves of the grid's current cell.
#include "ImageWindowFixture.h"
#include "image/GridTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>

namespace {

const QString kDot = QString(QChar(0xFF65));

void typeCharacter(QWidget* widget, QChar character)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

void selectAllOf(QLineEdit* box)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
}

QList<int> checkedBits(const MainWindowControls& c)
{
    QList<int> bits;
    for (int i = 7; i >= 0; --i) {
        if (c.ChkBin[i]->isChecked()) bits.append(i);
    }
    return bits;
}

}  // namespace

class ByteEditorTest : public QObject {
    Q_OBJECT
private slots:
    void clickLoadsTheByte();
    void characterRulesOfClickAndEdit();
    void hexBoxTyping();
    void decimalBoxRules();
    void characterBoxWithoutASingleByte();
    void bitBoxes();
    void editorFollowsKeyboardMoves();
    void boxKeysMoveTheCurrentCell_data();
    void boxKeysMoveTheCurrentCell();
    void enterInTheHexBoxTypesARun();
    void goToAddress_data();
    void goToAddress();
    void nonDataCellChangesNothing();
    void singleCellUpdatesLeaveTheRowText();
};

void ByteEditorTest::clickLoadsTheByte()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0x25] = '\x41';
    image[0x2F] = '\x5A';
    f.showImage(image);
    f.clickCell(3, 6);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("41"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("65"));
    QCOMPARE(f.c().Text_modify_asc->text(), QStringLiteral("A"));
    QCOMPARE(checkedBits(f.c()), (QList<int>{6, 0}));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:37"));
    // Ready to type over the byte.
    QCOMPARE(QApplication::focusWidget(), f.c().Text_modify_hex);
    QCOMPARE(f.c().Text_modify_hex->selectedText(), QStringLiteral("41"));
    QCOMPARE(f.view().currentRow(), 3);
    QCOMPARE(f.view().currentColumn(), 6);
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(0x25));

    // A click on the text column takes the row's last byte.
    f.clickCell(3, 17);
    QCOMPARE(f.view().currentColumn(), 16);
    QCOMPARE(f.view().currentRow(), 3);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("5A"));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:47"));
    const QModelIndexList selected = f.c().MSFGrid1->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().column(), 15);
}

void ByteEditorTest::characterRulesOfClickAndEdit()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0] = '\xB1';
    image[1] = ' ';
    image[2] = ',';
    f.showImage(image);
    // The rebuild shows the katakana, not the blank or the comma.
    QCOMPARE(f.cell(1, 17), QStringLiteral("ｱ･･") + QString(13, QChar(0xFF65)));
    f.clickCell(1, 1);
    QCOMPARE(f.c().Text_modify_asc->text(), kDot);  // the click rule knows no katakana

    selectAllOf(f.c().Text_modify_asc);
    typeCharacter(f.c().Text_modify_asc, QChar(0xFF71));
    QCOMPARE(f.byteAt(0), 0xB1);
    QCOMPARE(f.c().Text_modify_asc->text(), QStringLiteral("ｱ"));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("B1"));
    // The edited row is rebuilt by the editor rule: blank and comma as themselves.
    QCOMPARE(f.cell(1, 17), QStringLiteral("ｱ ,") + QString(13, QChar(0xFF65)));

    selectAllOf(f.c().Text_modify_asc);
    QTest::keyClicks(f.c().Text_modify_asc, QStringLiteral("\""));
    QCOMPARE(f.byteAt(0), 0x22);
    QCOMPARE(f.cell(1, 1), QStringLiteral("0x22"));
    QCOMPARE(f.cell(1, 17), QStringLiteral("\" ,") + QString(13, QChar(0xFF65)));
}

void ByteEditorTest::hexBoxTyping()
{
    ImageWindowFixture f;
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FF00"));
    f.clickCell(1, 1);
    QLineEdit* hex = f.c().Text_modify_hex;
    QTest::keyClicks(hex, QStringLiteral("a"));
    QCOMPARE(hex->text(), QStringLiteral("A"));
    QCOMPARE(f.byteAt(0), 0x0A);
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FE0B"));
    QCOMPARE(f.cell(1, 1), QStringLiteral("0x0A"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("10"));

    QTest::keyClicks(hex, QStringLiteral("G-z "));
    QCOMPARE(hex->text(), QStringLiteral("A"));
    QCOMPARE(f.byteAt(0), 0x0A);

    QTest::keyClicks(hex, QStringLiteral("c"));
    QCOMPARE(hex->text(), QStringLiteral("AC"));
    QCOMPARE(f.byteAt(0), 0xAC);
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FEAD"));
    QCOMPARE(f.c().Text_modify_asc->text(), QStringLiteral("ｬ"));

    QTest::keyClick(hex, Qt::Key_Backspace);
    QCOMPARE(hex->text(), QStringLiteral("A"));
    QCOMPARE(f.byteAt(0), 0x0A);
    QTest::keyClick(hex, Qt::Key_Backspace);
    QCOMPARE(hex->text(), QString());
    QCOMPARE(f.byteAt(0), 0x00);
    QCOMPARE(f.cell(1, 1), QStringLiteral("0x00"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("0"));

    // Pasted text is read as it stands, a non-digit counting as 0.
    hex->selectAll();
    hex->insert(QStringLiteral("x7"));
    QCOMPARE(f.byteAt(0), 0x07);
    hex->selectAll();
    hex->insert(QStringLiteral("あいうえお"));
    QCOMPARE(f.byteAt(0), 0x00);
}

void ByteEditorTest::decimalBoxRules()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0x10] = '\x30';
    f.showImage(image);
    f.clickCell(2, 1);
    QLineEdit* dec = f.c().Text_modify_dec;

    selectAllOf(dec);
    QTest::keyClicks(dec, QStringLiteral("25"));
    QCOMPARE(f.byteAt(0x10), 25);
    QTest::keyClicks(dec, QStringLiteral("6"));
    QCOMPARE(dec->text(), QStringLiteral("255"));
    QCOMPARE(f.byteAt(0x10), 0xFF);
    QCOMPARE(f.cell(2, 1), QStringLiteral("0xFF"));

    selectAllOf(dec);
    QTest::keyClicks(dec, QStringLiteral("2.5"));
    QCOMPARE(f.byteAt(0x10), 2);
    QCOMPARE(dec->text(), QStringLiteral("2.5"));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("02"));
    selectAllOf(dec);
    QTest::keyClicks(dec, QStringLiteral("3.5"));
    QCOMPARE(f.byteAt(0x10), 4);

    // Emptying the box stores 255.
    selectAllOf(dec);
    QTest::keyClick(dec, Qt::Key_Backspace);
    QCOMPARE(dec->text(), QStringLiteral("255"));
    QCOMPARE(f.byteAt(0x10), 0xFF);

    // A negative number leaves the byte; the box keeps what was entered.
    selectAllOf(dec);
    QTest::keyClicks(dec, QStringLiteral("7"));
    dec->selectAll();
    dec->insert(QStringLiteral("-1"));
    QCOMPARE(dec->text(), QStringLiteral("-1"));
    QCOMPARE(f.byteAt(0x10), 7);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("07"));
    QCOMPARE(f.cell(2, 1), QStringLiteral("0x07"));
}

void ByteEditorTest::characterBoxWithoutASingleByte()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0] = 'Q';
    f.showImage(image);
    f.clickCell(1, 1);
    QLineEdit* asc = f.c().Text_modify_asc;
    selectAllOf(asc);
    QTest::keyClick(asc, Qt::Key_Backspace);
    QCOMPARE(asc->text(), QString());
    typeCharacter(asc, QChar(0x3042));
    asc->selectAll();
    asc->insert(QString::fromUtf8("\xF0\x9F\x98\x80 and more"));
    QCOMPARE(f.byteAt(0), int('Q'));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("51"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("81"));
}

void ByteEditorTest::bitBoxes()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0x31] = '\0';
    f.showImage(image);
    f.clickCell(4, 2);
    QCOMPARE(checkedBits(f.c()), QList<int>{});
    QTest::mouseClick(f.c().ChkBin[7], Qt::LeftButton);
    QCOMPARE(f.byteAt(0x31), 0x80);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("80"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("128"));
    QCOMPARE(f.c().Text_modify_asc->text(), kDot);
    QCOMPARE(f.cell(4, 2), QStringLiteral("0x80"));
    QTest::mouseClick(f.c().ChkBin[0], Qt::LeftButton);
    QCOMPARE(f.byteAt(0x31), 0x81);
    QCOMPARE(checkedBits(f.c()), (QList<int>{7, 0}));
    // The leftmost box is bit 7.
    QVERIFY(f.c().ChkBin[7]->x() < f.c().ChkBin[0]->x());
}

void ByteEditorTest::editorFollowsKeyboardMoves()
{
    ImageWindowFixture f;
    QByteArray image(256, '\xFF');
    image[0] = '\x11';
    image[1] = '\x22';
    image[0x0F] = '\x44';
    image[0x11] = '\x33';
    f.showImage(image);
    f.clickCell(1, 1);
    QTableView* grid = f.c().MSFGrid1;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(f.view().currentColumn(), 2);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("22"));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:1"));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("33"));
    // The focus stays in the grid while moving.
    QCOMPARE(QApplication::focusWidget(), grid);

    // What the editor shows is what an edit changes.
    f.c().Text_modify_dec->setFocus();
    f.c().Text_modify_dec->selectAll();
    QTest::keyClicks(f.c().Text_modify_dec, QStringLiteral("9"));
    QCOMPARE(f.byteAt(0x11), 9);
    QCOMPARE(f.byteAt(0), 0x11);
    QCOMPARE(f.byteAt(1), 0x22);
    QCOMPARE(f.cell(2, 2), QStringLiteral("0x09"));

    // A move into the text column stays on the row's last byte.
    f.clickCell(1, 16);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(f.view().currentColumn(), 16);
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("44"));
    QTest::mouseClick(f.c().ChkBin[0], Qt::LeftButton);
    QCOMPARE(f.byteAt(0x0F), 0x45);
}

void ByteEditorTest::boxKeysMoveTheCurrentCell_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<qint64>("address");  // from 0x125 in a 512-byte image
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers control = Qt::ControlModifier;
    QTest::newRow("hex Up") << "Text_modify_hex" << int(Qt::Key_Up) << none << qint64{0x115};
    QTest::newRow("hex Down") << "Text_modify_hex" << int(Qt::Key_Down) << none << qint64{0x135};
    QTest::newRow("dec Down") << "Text_modify_dec" << int(Qt::Key_Down) << none << qint64{0x135};
    QTest::newRow("asc Up") << "Text_modify_asc" << int(Qt::Key_Up) << none << qint64{0x115};
    QTest::newRow("hex Ctrl+Home")
        << "Text_modify_hex" << int(Qt::Key_Home) << control << qint64{0};
    QTest::newRow("dec Ctrl+End") << "Text_modify_dec" << int(Qt::Key_End) << control
                                  << qint64{0x1FF};
    QTest::newRow("asc PageDown") << "Text_modify_asc" << int(Qt::Key_PageDown) << none
                                  << qint64{0x1F5};
    // Enter steps on only in the hex box.
    QTest::newRow("dec Enter") << "Text_modify_dec" << int(Qt::Key_Return) << none << qint64{0x125};
}

void ByteEditorTest::boxKeysMoveTheCurrentCell()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(qint64, address);
    ImageWindowFixture f(QStringLiteral("24C04"));
    QByteArray image(512, '\0');
    for (int a = 0; a < image.size(); ++a) image[a] = static_cast<char>(a * 7);
    f.showImage(image);
    f.clickCell(0x12 + 1, 5 + 1);
    auto* edit = f.c().Frame1->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key(key), modifiers);
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(address));
    // The editor follows and the box stays ready to be typed over.
    QCOMPARE(f.c().Text_modify_hex->text(),
             QString::asprintf("%02X", static_cast<unsigned>(f.byteAt(address))));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:%1").arg(address));
    QCOMPARE(QApplication::focusWidget(), edit);
    if (address != 0x125) QCOMPARE(edit->selectedText(), edit->text());
    // The grid shows the current cell.
    QTableView* grid = f.c().MSFGrid1;
    QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex()).center()));
}

void ByteEditorTest::enterInTheHexBoxTypesARun()
{
    ImageWindowFixture f;
    f.showImage(QByteArray(256, '\xFF'));
    f.clickCell(1, 15);
    QLineEdit* hex = f.c().Text_modify_hex;
    for (const char* digits : {"12", "34", "56", "78"}) {
        QTest::keyClicks(hex, digits);
        QTest::keyClick(hex, Qt::Key_Return);
        QCOMPARE(hex->selectedText(), hex->text());
    }
    // Over the end of the row into the next one.
    QCOMPARE(f.byteAt(0x0E), 0x12);
    QCOMPARE(f.byteAt(0x0F), 0x34);
    QCOMPARE(f.byteAt(0x10), 0x56);
    QCOMPARE(f.byteAt(0x11), 0x78);
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(0x12));
    QCOMPARE(f.cell(2, 2), QStringLiteral("0x78"));
    QCOMPARE(hex->text(), QStringLiteral("FF"));
}

void ByteEditorTest::goToAddress_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("address");  // -1: the current cell stays at 0x25
    QTest::addColumn<bool>("refused");
    QTest::newRow("hex digits") << true << "1f0" << qint64{0x1F0} << false;
    QTest::newRow("with prefix") << true << "0x1FF" << qint64{0x1FF} << false;
    QTest::newRow("beyond the part") << true << "200" << qint64{-1} << true;
    QTest::newRow("not hexadecimal") << true << "xyz" << qint64{-1} << true;
    QTest::newRow("cancelled") << false << "100" << qint64{-1} << false;
}

void ByteEditorTest::goToAddress()
{
    QFETCH(bool, accepted);
    QFETCH(QString, typed);
    QFETCH(qint64, address);
    QFETCH(bool, refused);
    ImageWindowFixture f(QStringLiteral("24C04"));
    f.showImage(QByteArray(512, '\x5A'));
    f.clickCell(3, 6);
    QCOMPARE(f.c().mnuGoTo->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(f.c().mnuGoTo->text(), QStringLiteral("アドレスへ移動..."));
    f.dialogs.textAnswers.append(TextInputResult{accepted, typed});

    f.c().mnuGoTo->trigger();
    QCOMPARE(f.dialogs.textInputs.size(), 1);
    // The box starts at the current address, and names the range.
    QCOMPARE(f.dialogs.textInputs.first().text, QStringLiteral("00025"));
    QVERIFY(f.dialogs.textInputs.first().label.contains(QStringLiteral("0x001FF")));
    const qint64 expected = address < 0 ? 0x25 : address;
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(expected));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:%1").arg(expected));
    QCOMPARE(f.dialogs.messages.size(), refused ? 1 : 0);
    if (refused) QVERIFY(f.dialogs.messages.first().text.contains(typed));
    if (address >= 0) {
        QCOMPARE(QApplication::focusWidget(), f.c().Text_modify_hex);
        QCOMPARE(f.c().Text_modify_hex->selectedText(), QStringLiteral("5A"));
    }
}

void ByteEditorTest::nonDataCellChangesNothing()
{
    ImageWindowFixture f;
    f.view().setCurrentCell(0, 0);
    QCOMPARE(f.view().currentAddress(), std::nullopt);
    QCOMPARE(f.c().Text_modify_hex->text(), QString());
    const QByteArray before = f.state.image.bytes();
    const QString label = f.c().LblCheckSUM->text();

    QTest::keyClicks(f.c().Text_modify_hex, QStringLiteral("7"));
    QTest::keyClicks(f.c().Text_modify_dec, QStringLiteral("12"));
    f.c().Text_modify_asc->insert(QStringLiteral("long pasted text"));
    QTest::mouseClick(f.c().ChkBin[3], Qt::LeftButton);
    f.view().MSFGrid1_Click();

    QCOMPARE(f.state.image.bytes(), before);
    QCOMPARE(f.c().LblCheckSUM->text(), label);
    QCOMPARE(f.cell(0, 0), QStringLiteral("　Adr."));
    QCOMPARE(f.cell(1, 1), QStringLiteral("0xFF"));
    QCOMPARE(f.c().Text_modify_dec->text(), QString());
}

void ByteEditorTest::singleCellUpdatesLeaveTheRowText()
{
    ImageWindowFixture f;
    f.clickCell(2, 3);
    // A Byte Read rewrites only the byte cell of the current cell.
    f.state.image.set(0x12, 0x41);
    f.view().setCurrentCellText(GridTexts::byteCellText(0x41));
    QCOMPARE(f.cell(2, 3), QStringLiteral("0x41"));
    QCOMPARE(f.cell(2, 17), QString(16, QChar(0xFF65)));
    f.view().MSFGrid1_Click();
    QCOMPARE(f.c().Text_modify_asc->text(), QStringLiteral("A"));
    QCOMPARE(f.cell(2, 17), QString(16, QChar(0xFF65)));
    // The next edit of that row rebuilds its text cell from the image.
    QTest::mouseClick(f.c().ChkBin[0], Qt::LeftButton);
    QCOMPARE(f.byteAt(0x12), 0x40);
    QCOMPARE(f.cell(2, 17), QStringLiteral("･･@･････････････"));
}

QTEST_MAIN(ByteEditorTest)
#include "tst_byte_editor.moc"
