// The window's editing commands on the real main window, on an emulated board in fake time:
// every change of the image is one undo step whatever made it, the checksum label and the
// unsaved state follow each step both ways, and the selection, clipboard, find and word view
// behave as their menu entries say.
#include "editing/ByteTexts.h"
#include "editing/RangeSummary.h"
#include "editing/gui/ClipboardCommands.h"
#include "editing/gui/EditTexts.h"
#include "editing/gui/FindCommands.h"
#include "editing/gui/FindDialog.h"
#include "editing/gui/ImageEditing.h"
#include "files/IntelHexWriter.h"
#include "files/gui/ImageFileCommands.h"
#include "image/CheckSum.h"
#include "image/GridAddress.h"
#include "image/GridTexts.h"
#include "image/ImageChecksums.h"
#include "image/gui/ImageView.h"
#include "link/gui/AccessController.h"
#include "session/ProgramState.h"
#include "support/WindowOnBoards.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const QString k24C02 = QStringLiteral("24C02");

QByteArray inverted(QByteArray bytes)
{
    for (char& b : bytes) b = static_cast<char>(~b);
    return bytes;
}

}  // namespace

class TestEditCommands : public QObject, protected WindowOnBoards {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { tearDown(); }

    void everyChangeIsOneUndoStep_data();
    void everyChangeIsOneUndoStep();
    void pastePastTheEndAsks_data();
    void pastePastTheEndAsks();
    void copyPutsTextAndBytes_data();
    void copyPutsTextAndBytes();
    void selectionInTheStatusBar_data();
    void selectionInTheStatusBar();
    void findGoesRoundA128KImage();
    void selectionSavedAsAFile();
    void undoWaitsForAnAccess();
    void wordViewForAMicrowirePart();

private:
    [[nodiscard]] ImageView& view() { return window().imageView(); }
    [[nodiscard]] FindDialog& findDialog() { return window().editing().find().dialog(); }
    [[nodiscard]] bool unsaved() const { return m_startup->state().unsaved.unsaved(); }
    [[nodiscard]] QString writeFile(const QString& name, const QByteArray& contents) const;
    // Runs `operation` on the window; the image it should leave.
    [[nodiscard]] QByteArray run(const QString& operation);
    // The checksum label and its tool tip say what the image holds.
    void checkChecksums();
    void keyToFocus(int key, Qt::KeyboardModifiers modifiers);
    void setCurrent(qint64 address);
    // Edit > Paste of `bytes` at `address`.
    void pasteAt(qint64 address, const QByteArray& bytes);
    [[nodiscard]] QPoint cellCentre(int row, int column);

    EmulatedBoard* m_board = nullptr;
    QByteArray m_loaded;  // the image file loaded at the start: saved
};

void TestEditCommands::init()
{
    setUp();
    m_board = &addBoard(k24C02, 0x40);
    pointPortAt(*m_board);
    QVERIFY(start());
    // The Edit menu's keys reach an active window.
    window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    selectDevice(k24C02);
    // Every byte differs from the chip's, so a read of any of them changes the image.
    m_loaded = inverted(m_board->contents());
    QVERIFY(window().imageFileCommands().loadFile(
        writeFile(QStringLiteral("loaded.hex"), intelHexText(m_loaded))));
    QCOMPARE(image(), m_loaded);
    QVERIFY(!unsaved());
    QApplication::clipboard()->clear();
}

QString TestEditCommands::writeFile(const QString& name, const QByteArray& contents) const
{
    const QString path = m_environment->configFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) return {};
    return path;
}

void TestEditCommands::setCurrent(qint64 address)
{
    view().setCurrentCell(GridAddress::rowOf(address), GridAddress::columnOf(address));
}

void TestEditCommands::pasteAt(qint64 address, const QByteArray& bytes)
{
    auto* mime = new QMimeData;
    mime->setData(ClipboardCommands::kBytesType, bytes);
    QApplication::clipboard()->setMimeData(mime);
    setCurrent(address);
    controls().mnuPaste->trigger();
}

void TestEditCommands::keyToFocus(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

QPoint TestEditCommands::cellCentre(int row, int column)
{
    QTableView* grid = controls().MSFGrid1;
    const QModelIndex index = grid->model()->index(row - 1, column - 1);
    grid->scrollTo(index);
    return grid->visualRect(index).center();
}

void TestEditCommands::checkChecksums()
{
    const ImageChecksums sums = ImageChecksums::of(image());
    QCOMPARE(controls().LblCheckSUM->text(), CheckSumText(image()));
    const QString tip = controls().LblCheckSUM->toolTip();
    QVERIFY2(tip.contains(QString::asprintf("%08X", sums.crc32)), qPrintable(tip));
    QVERIFY2(tip.contains(QString::fromLatin1(sums.sha256.toHex())), qPrintable(tip));
}

QByteArray TestEditCommands::run(const QString& operation)
{
    QByteArray expected = image();
    if (operation == u"byte edit") {
        setCurrent(0);
        controls().Text_modify_hex->setText(QString::asprintf("%02X", quint8(~expected[0])));
        expected[0] = static_cast<char>(~expected[0]);
    } else if (operation == u"Byte Read") {
        setCurrent(5);
        click(controls().Cmd_READ_single);
        expected[5] = m_board->contents().at(5);
    } else if (operation == u"paste") {
        QApplication::clipboard()->setText(QStringLiteral("01 02 03"));
        setCurrent(0x20);
        controls().mnuPaste->trigger();
        expected.replace(0x20, 3, QByteArray::fromHex("010203"));
    } else if (operation == u"fill") {
        view().selectRange(0x10, 0x1F);
        m_dialogs.textAnswers.append({true, QStringLiteral("DE AD")});
        controls().mnuFill->trigger();
        expected.replace(0x10, 16, QByteArray::fromHex("DEAD").repeated(8));
    } else if (operation == u"replace") {
        findDialog().FindText->setText(QString::fromLatin1(expected.mid(0x10, 2).toHex(' ')));
        findDialog().ReplaceText->setText(
            QString::fromLatin1(inverted(expected.mid(0x10, 2)).toHex()));
        setCurrent(0x10);
        click(findDialog().Cmd_Replace);
        expected.replace(0x10, 2, inverted(expected.mid(0x10, 2)));
    } else if (operation == u"replace all") {
        const char value = expected.at(0x30);
        findDialog().FindText->setText(QString::fromLatin1(QByteArray(1, value).toHex()));
        findDialog().ReplaceText->setText(QString::fromLatin1(QByteArray(1, ~value).toHex()));
        click(findDialog().Cmd_ReplaceAll);
        expected.replace(value, static_cast<char>(~value));
    } else if (operation == u"range load") {
        m_dialogs.fileAnswers.append(FakeUserDialogs::chosen(
            writeFile(QStringLiteral("range.bin"), QByteArray::fromHex("CAFEBABE"))));
        m_dialogs.textAnswers.append({true, QStringLiteral("40")});
        controls().mnuLoadRange->trigger();
        expected.replace(0x40, 4, QByteArray::fromHex("CAFEBABE"));
    } else if (operation == u"file load") {
        expected = QByteArray(256, '\x11');
        window().imageFileCommands().loadFile(
            writeFile(QStringLiteral("other.hex"), intelHexText(expected)));
    } else if (operation == u"Block Read") {
        click(controls().Cmd_READ_all);
        expected = m_board->contents();
    } else if (operation == u"buffer clear") {
        controls().mnuBufferClear->trigger();
        expected = QByteArray(256, '\xFF');
    }
    return expected;
}

void TestEditCommands::everyChangeIsOneUndoStep_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("kind");
    // Whole images from a file or the chip are saved ones; undoing them leaves an image that is
    // in no file.
    QTest::addColumn<bool>("whole");
    const auto row = [](const char* operation, EditKind kind, bool whole) {
        QTest::newRow(operation) << QString::fromLatin1(operation) << int(kind) << whole;
    };
    row("byte edit", EditKind::ByteEdit, false);
    row("Byte Read", EditKind::ByteRead, false);
    row("paste", EditKind::Paste, false);
    row("fill", EditKind::Fill, false);
    row("replace", EditKind::Replace, false);
    row("replace all", EditKind::ReplaceAll, false);
    row("range load", EditKind::RangeLoad, false);
    row("file load", EditKind::FileLoad, true);
    row("Block Read", EditKind::BlockRead, true);
    row("buffer clear", EditKind::BufferClear, true);
}

// Ctrl+Z and Ctrl+Y from wherever the focus is (the byte editor's box, after a click).
void TestEditCommands::everyChangeIsOneUndoStep()
{
    QFETCH(QString, operation);
    QFETCH(int, kind);
    QFETCH(bool, whole);
    const QByteArray before = image();

    const QByteArray after = run(operation);
    QVERIFY(after != before);
    QCOMPARE(image(), after);
    checkChecksums();
    QCOMPARE(unsaved(), !whole);
    QCOMPARE(controls().mnuUndo->text(), EditTexts::undoText(EditKind(kind)));
    QVERIFY(controls().mnuUndo->isEnabled());
    QVERIFY(!controls().mnuRedo->isEnabled());
    QCOMPARE(view().cellText(3, 1), GridTexts::byteCellText(quint8(after.at(0x20))));

    keyToFocus(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image(), before);
    checkChecksums();
    QCOMPARE(unsaved(), whole);
    QCOMPARE(controls().mnuRedo->text(), EditTexts::redoText(EditKind(kind)));
    QCOMPARE(controls().mnuUndo->text(), EditTexts::undoText(EditKind::FileLoad));
    // The grid shows the bytes undone, the byte editor the current cell's.
    QCOMPARE(view().cellText(3, 1), GridTexts::byteCellText(quint8(before.at(0x20))));
    const qint64 current = *view().currentAddress();
    QCOMPARE(controls().Text_modify_hex->text(),
             QString::asprintf("%02X", quint8(before.at(current))));

    keyToFocus(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(image(), after);
    checkChecksums();
    QCOMPARE(unsaved(), !whole);
    keyToFocus(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(image(), after);  // nothing more to redo
}

void TestEditCommands::pastePastTheEndAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes: what fits") << true;
    QTest::newRow("no: nothing") << false;
}

void TestEditCommands::pastePastTheEndAsks()
{
    QFETCH(bool, yes);
    const QByteArray before = image();
    if (yes) m_dialogs.messageAnswers.append(MessageAnswer::Yes);
    pasteAt(0xFD, QByteArray::fromHex("0102030405"));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.last().buttons, MessageButtons::YesNo);
    QByteArray expected = before;
    if (yes) expected.replace(0xFD, 3, QByteArray::fromHex("010203"));
    QCOMPARE(image(), expected);
    QCOMPARE(image().size(), 256);
    QCOMPARE(unsaved(), yes);
}

void TestEditCommands::copyPutsTextAndBytes_data()
{
    QTest::addColumn<bool>("asText");
    QTest::newRow("hexadecimal") << false;
    QTest::newRow("text column") << true;
}

// What a copy puts on the clipboard pastes back as the same bytes.
void TestEditCommands::copyPutsTextAndBytes()
{
    QFETCH(bool, asText);
    const QByteArray bytes = image().mid(0x0E, 20);
    view().selectRange(0x0E, 0x0E + 19);
    (asText ? controls().mnuCopyText : controls().mnuCopy)->trigger();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), asText ? ByteTexts::textColumn(bytes) : ByteTexts::hexLines(bytes));
    QCOMPARE(mime->data(ClipboardCommands::kBytesType), bytes);

    setCurrent(0x80);
    keyToFocus(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(image().mid(0x80, 20), bytes);
    QCOMPARE(view().selectedRange(), AddressRange({0x80, 20}));

    // Text from elsewhere is read as hexadecimal bytes; what is not is refused, with its place.
    QApplication::clipboard()->setText(QStringLiteral("0x12, 0x34\nzz"));
    const QByteArray unchanged = image();
    controls().mnuPaste->trigger();
    QCOMPARE(image(), unchanged);
    QVERIFY(m_dialogs.messages.last().text.contains(
        EditTexts::patternError(SearchPattern::Error::NotHexadecimal, TextPlace{12, 2, 1})));
}

void TestEditCommands::selectionInTheStatusBar_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::newRow("mouse drag") << QStringLiteral("drag") << qint64{0x13} << qint64{0x24};
    QTest::newRow("Shift+click") << QStringLiteral("shift click") << qint64{0x02} << qint64{0x13};
    QTest::newRow("Shift+Right in the grid")
        << QStringLiteral("grid keys") << qint64{0x02} << qint64{0x05};
    QTest::newRow("Shift+Down in the byte editor")
        << QStringLiteral("editor keys") << qint64{0x02} << qint64{0x22};
    QTest::newRow("Ctrl+A in the grid")
        << QStringLiteral("select all") << qint64{0} << qint64{0xFF};
}

void TestEditCommands::selectionInTheStatusBar()
{
    QFETCH(QString, gesture);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QTableView* grid = controls().MSFGrid1;
    QWidget* viewport = grid->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(1, 3));
    QCOMPARE(panel(3), QStringLiteral("ADDRESS:2"));

    if (gesture == u"drag") {
        QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(2, 4));
        QMouseEvent move(QEvent::MouseMove, cellCentre(3, 5),
                         viewport->mapToGlobal(cellCentre(3, 5)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(3, 5));
    } else if (gesture == u"shift click") {
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, cellCentre(2, 4));
    } else if (gesture == u"grid keys") {
        grid->setFocus();
        for (int i = 0; i < 3; ++i) QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
    } else if (gesture == u"editor keys") {
        QCOMPARE(QApplication::focusWidget(), controls().Text_modify_hex);
        for (int i = 0; i < 2; ++i) keyToFocus(Qt::Key_Down, Qt::ShiftModifier);
    } else {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    }
    const AddressRange range = AddressRange::between(first, last);
    QCOMPARE(view().selectedRange(), range);
    QCOMPARE(panel(3), EditTexts::selectionText(RangeSummary::of(image(), range)));

    // Its sum and CRC-32 follow an edit inside it; a plain move drops it.
    m_dialogs.textAnswers.append({true, QStringLiteral("00")});
    controls().mnuFill->trigger();
    QCOMPARE(panel(3), EditTexts::selectionText(RangeSummary::of(image(), range)));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(5, 2));
    QCOMPARE(view().selectedRange(), AddressRange({0x41, 1}));
    QCOMPARE(panel(3), QStringLiteral("ADDRESS:65"));
}

void TestEditCommands::findGoesRoundA128KImage()
{
    selectDevice(QStringLiteral("24C1024"));
    const QByteArray pattern = QByteArray::fromHex("DEADBEEF");
    pasteAt(0x100, pattern);
    pasteAt(0x1F000, pattern);
    findDialog().FindText->setText(QStringLiteral("DE AD BE EF"));

    setCurrent(0x1F001);
    QTest::keyClick(&window(), Qt::Key_F3);
    QCOMPARE(view().selectedRange(), AddressRange({0x100, 4}));
    QCOMPARE(*view().currentAddress(), 0x100);
    QVERIFY2(panel(1).startsWith(QStringLiteral("末尾まで検索したので")), qPrintable(panel(1)));
    QVERIFY(panel(1).contains(QStringLiteral("0x00100")));
    // Every match is marked, with a mark of its own.
    for (const qint64 address : {0x100, 0x103, 0x1F000, 0x1F003}) {
        QVERIFY(view().isFound(GridAddress::rowOf(address), GridAddress::columnOf(address)));
        QVERIFY(!view().isMarked(GridAddress::rowOf(address), GridAddress::columnOf(address)));
    }
    QVERIFY(!view().isFound(GridAddress::rowOf(0x104), GridAddress::columnOf(0x104)));

    QTest::keyClick(&window(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(view().selectedRange(), AddressRange({0x1F000, 4}));
    QVERIFY2(panel(1).startsWith(QStringLiteral("先頭まで検索したので")), qPrintable(panel(1)));
    QTest::keyClick(&window(), Qt::Key_F3);
    QCOMPARE(view().selectedRange(), AddressRange({0x100, 4}));

    findDialog().FindText->setText(QStringLiteral("DE AD BE EE"));
    QTest::keyClick(&window(), Qt::Key_F3);
    QCOMPARE(panel(1), QStringLiteral("見つかりませんでした。"));
    QVERIFY(!view().isFound(GridAddress::rowOf(0x100), GridAddress::columnOf(0x100)));
}

void TestEditCommands::selectionSavedAsAFile()
{
    const QString path = m_environment->configFolder() + QStringLiteral("/part.bin");
    view().selectRange(0x1F, 0x10);
    m_dialogs.fileAnswers.append(FakeUserDialogs::chosen(path));
    controls().mnuSaveSelection->trigger();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), image().mid(0x10, 16));
    QVERIFY(!unsaved());
}

void TestEditCommands::undoWaitsForAnAccess()
{
    const QByteArray filled = run(QStringLiteral("fill"));
    QCOMPARE(image(), filled);
    window().access().setImageCommandsEnabled(false);
    QVERIFY(!controls().mnuUndo->isEnabled());
    QVERIFY(!controls().mnuPaste->isEnabled());
    QVERIFY(!findDialog().Cmd_Replace->isEnabled());
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image(), filled);
    window().access().setImageCommandsEnabled(true);
    QVERIFY(controls().mnuUndo->isEnabled());
    controls().mnuUndo->trigger();
    QCOMPARE(image(), m_loaded);
}

void TestEditCommands::wordViewForAMicrowirePart()
{
    QVERIFY(!controls().mnuView16->isEnabled());
    selectDevice(QStringLiteral("AT93C46"));
    QVERIFY(controls().mnuView16->isEnabled());
    pasteAt(0x10, QByteArray::fromHex("12345678"));
    const QByteArray before = image();

    controls().mnuView16->trigger();
    QCOMPARE(view().cellText(2, 1), QStringLiteral("0x1234"));
    QCOMPARE(view().cellText(2, 3), QStringLiteral("0x5678"));
    QVERIFY(controls().MSFGrid1->isColumnHidden(1));
    QVERIFY(!controls().MSFGrid1->isColumnHidden(2));
    QCOMPARE(image(), before);
    // A selection takes in whole words.
    view().selectRange(0x11, 0x12);
    QCOMPARE(view().selectedRange(), AddressRange({0x10, 4}));

    m_dialogs.messageAnswers.append(MessageAnswer::Yes);  // the pasted words may go
    selectDevice(k24C02);
    QVERIFY(!controls().mnuView16->isEnabled());
    QVERIFY(!controls().mnuView16->isChecked());
    QVERIFY(!controls().MSFGrid1->isColumnHidden(1));
    QCOMPARE(view().cellText(1, 1), QStringLiteral("0xFF"));
}

QTEST_MAIN(TestEditCommands)
#include "tst_edit_commands.moc"
