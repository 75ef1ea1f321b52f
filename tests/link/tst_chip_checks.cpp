// Verify, blank check, erase and cancel in the real main window against the emulated board in
// fake time: the device menu, verify after write against boards that store wrongly or hold no
// part, the grid marks and the list of differences, cancel by button and Esc, the question
// before a close stops a write, and the progress bar. One test goes through the real serial
// port to qzpgm-sim on a pseudo-terminal.
#include "base/HexText.h"
#include "base/SettingsStore.h"
#include "files/BackupFiles.h"
#include "image/GridAddress.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "link/PortDevices.h"
#include "link/SerialPort.h"
#include "link/gui/AccessController.h"
#include "support/EmulatedBoards.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeLinkClock.h"
#include "support/FakeUserDialogs.h"
#include "support/SimProcess.h"
#include "support/TestEnvironment.h"
#include "support/WindowOnBoards.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace SettingsKeys;
using namespace std::chrono_literals;

namespace {

const QString k24C02 = QStringLiteral("24C02");
const QString k24C64 = QStringLiteral("24C64");
const QString k93C46 = QStringLiteral("AT93C46");

const QRegularExpression kVerifyOk(QStringLiteral("^ベリファイOK \\(\\d+sec\\)$"));
const QString kAllBlank = QStringLiteral(
    "  全て0xFFです: 空のチップか、チップが挿さっていないか逆向きの可能性があります。");
const QString kBlank = QStringLiteral("ブランクです (全て0xFF)") + kAllBlank;

QString byteText(char value)
{
    return QStringLiteral("0x") + hexText(static_cast<quint8>(value), 2);
}
QString addressText(qint64 address)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(address), 5);
}

// What the window says of a write stopped inside its range.
QString stoppedWriteNote(const AccessOutcome& outcome)
{
    return QStringLiteral(
               " (チップは %1 まで書き込み済みです) ボードは残りの %2 バイトを待って"
               "います。次のアクセスの前にボードの電源を入れ直してください。")
        .arg(addressText(outcome.lastAddressDone()))
        .arg(outcome.bytesPlanned - outcome.bytesDone);
}

QString verifyErrorText(qint64 mismatches, qint64 first, char buffer, char chip)
{
    return QStringLiteral("ベリファイエラー: %1 バイト不一致 (最初 %2: バッファ %3 / チップ %4)")
        .arg(mismatches)
        .arg(addressText(first), byteText(buffer), byteText(chip));
}

}  // namespace

class TestChipChecks : public QObject, protected WindowOnBoards {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void deviceMenuAndItsOptions_data();
    void deviceMenuAndItsOptions();
    void verifyAfterWriteFindsWhatTheChipHolds_data();
    void verifyAfterWriteFindsWhatTheChipHolds();
    void verifyMarksAndListsTheDifferences();
    void blankCheckAndErase();
    void aSecondReadCatchesAFlippedRead_data();
    void aSecondReadCatchesAFlippedRead();
    void theChipIsBackedUpBeforeItIsOverwritten_data();
    void theChipIsBackedUpBeforeItIsOverwritten();
    void cancelStopsTheAccess_data();
    void cancelStopsTheAccess();
    void closingDuringAWriteAsksFirst();
    void progressWhileAReadRuns();
    void theRealPortCatchesAFlippedBit();

private:
    // Block Write and erase as they were before the backup and the changed chunks: for the tests
    // of other things. Before start().
    static void plainOverwrites();
    // A Block Read from `board`: the image then holds its contents.
    void readFrom(const EmulatedBoard& board);
    void verifyIdle();
    [[nodiscard]] DifferencesDialog* differences() { return window().differences().dialog(); }
};

void TestChipChecks::init() { setUp(); }

void TestChipChecks::cleanup() { tearDown(); }

void TestChipChecks::plainOverwrites()
{
    SettingsStore settings;
    for (const QString& option : {kBackupBeforeWrite, kWriteChangedOnly}) {
        settings.save(kSettings6, option, QStringLiteral("False"));
    }
}

void TestChipChecks::readFrom(const EmulatedBoard& board)
{
    pointPortAt(board);
    click(controls().Cmd_READ_all);
    QCOMPARE(image(), board.contents());
}

void TestChipChecks::verifyIdle()
{
    QVERIFY(!window().serialPort().isOpen());
    QVERIFY(!window().access().running());
    MainWindowControls& c = controls();
    for (QWidget* widget : QList<QWidget*>{c.Cmd_READ_all, c.Cmd_WRITE_all, c.Cmd_VERIFY_all,
                                           c.MSFGrid1, c.Frame1, c.Combo_device}) {
        QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    }
    for (QAction* action : {c.mnuVerify, c.mnuBlankCheck, c.mnuErase, c.mnuFileOpen}) {
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    }
    QVERIFY(!c.Cmd_Cancel->isEnabled());
    QVERIFY(!c.Cmd_Cancel->isVisible());
    QVERIFY(!c.PrgAccess->isVisible());
    QVERIFY(!c.Lbl_AccessTime->isVisible());
}

void TestChipChecks::deviceMenuAndItsOptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("onByDefault");
    QTest::newRow("verify after write")
        << "mnuVerifyAfterWrite"
        << "書き込み後にベリファイ(&A)" << kVerifyAfterWrite << true;
    QTest::newRow("read twice") << "mnuReadTwice"
                                << "2回読んで比較(&R)" << kReadTwice << false;
    QTest::newRow("backup") << "mnuBackupBeforeWrite"
                            << "書き込み前にバックアップ(&K)" << kBackupBeforeWrite << true;
    QTest::newRow("changed only") << "mnuWriteChangedOnly"
                                  << "変更箇所だけ書き込む(&C)" << kWriteChangedOnly << true;
}

// The device menu between Options and Help: the three checks, then the options, each ticked
// as the store says under [Settings6] (its default when it says nothing) and stored at once.
void TestChipChecks::deviceMenuAndItsOptions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(bool, onByDefault);
    QVERIFY(start());
    MainWindowControls& c = controls();
    const QList<QAction*> bar = window().menuBar()->actions();
    const qsizetype device = bar.indexOf(c.mnuDevice->menuAction());
    QCOMPARE(bar.indexOf(c.mnuTools->menuAction()), device - 1);
    QCOMPARE(bar.indexOf(c.mnuHelp->menuAction()), device + 1);
    QCOMPARE(c.mnuDevice->title(), QStringLiteral("デバイス(&D)"));
    QVERIFY(c.mnuDevice->actions().at(3)->isSeparator());
    QCOMPARE(c.mnuDevice->actions().mid(0, 3),
             (QList<QAction*>{c.mnuVerify, c.mnuBlankCheck, c.mnuErase}));
    QCOMPARE(c.mnuDevice->actions().mid(4),
             (QList<QAction*>{c.mnuVerifyAfterWrite, c.mnuReadTwice, c.mnuBackupBeforeWrite,
                              c.mnuWriteChangedOnly}));
    QCOMPARE(c.mnuVerify->text(), QStringLiteral("ベリファイ(&V)"));
    QCOMPARE(c.mnuBlankCheck->text(), QStringLiteral("ブランクチェック(&B)"));
    QCOMPARE(c.mnuErase->text(), QStringLiteral("消去(&E)..."));
    QVERIFY(c.Frame2->isAncestorOf(c.Cmd_VERIFY_all));
    QCOMPARE(c.Cmd_VERIFY_all->text(), QStringLiteral("Verify"));
    QCOMPARE(c.Cmd_Cancel->text(), QStringLiteral("中止"));
    verifyIdle();

    QAction* option = c.mnuDevice->findChild<QAction*>(name);
    QVERIFY(option);
    QCOMPARE(option->text(), text);
    QVERIFY(option->isCheckable());
    QCOMPARE(option->isChecked(), onByDefault);
    option->trigger();
    SettingsStore settings;
    const auto word = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    QCOMPARE(settings.get(kSettings6, key, {}), word(!onByDefault));
    m_startup.reset();
    QVERIFY(start());
    option = controls().mnuDevice->findChild<QAction*>(name);
    QCOMPARE(option->isChecked(), !onByDefault);
    option->trigger();
    QCOMPARE(settings.get(kSettings6, key, {}), word(onByDefault));
}

void TestChipChecks::verifyAfterWriteFindsWhatTheChipHolds_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<qint64>("first");  // the first differing address; -1 for none
    QTest::newRow("a good write") << k24C02 << QStringList{} << qint64{-1};
    QTest::newRow("a bit flipped in chunk 3") << k24C02 << QStringList{"flip@3"} << qint64{0x10};
    QTest::newRow("Microwire, chunk 5") << k93C46 << QStringList{"flip@5"} << qint64{0x40};
    QTest::newRow("no part in the socket") << k24C02 << QStringList{"nochip"} << qint64{0};
}

// A Block Write is read back over the range it wrote; what the chip does not hold is marked,
// listed and shown in a warning box. The image stays what was written.
void TestChipChecks::verifyAfterWriteFindsWhatTheChipHolds()
{
    plainOverwrites();
    QFETCH(QString, device);
    QFETCH(QStringList, faults);
    QFETCH(qint64, first);
    EmulatedBoard& source = addBoard(device, 1);
    EmulatedBoard& target = addBoard(device, 0x40, faults);
    QVERIFY(start());
    selectDevice(device);
    readFrom(source);
    const QByteArray written = image();
    const int openings = m_port->openCount;

    pointPortAt(target);
    click(controls().Cmd_WRITE_all);
    verifyIdle();
    QCOMPARE(m_port->openCount, openings + 2);  // the write, then its verify
    QCOMPARE(image(), written);
    settle();
    // An empty socket reads 0xFF whatever its cells were left holding.
    const QByteArray chip = faults.contains(QStringLiteral("nochip"))
                                ? QByteArray(written.size(), '\xFF')
                                : target.contents();
    qint64 mismatches = 0;
    for (qint64 a = 0; a < chip.size(); ++a) mismatches += chip.at(a) != written.at(a);
    ImageView& view = window().imageView();
    QCOMPARE(view.markCount(), mismatches);
    if (first < 0) {
        QVERIFY2(kVerifyOk.match(panel(1)).hasMatch(), qPrintable(panel(1)));
        QVERIFY(m_dialogs.messages.isEmpty());
        QVERIFY(!differences() || !differences()->isVisible());
        return;
    }
    QVERIFY(mismatches > 0);
    QString text = verifyErrorText(mismatches, first, written.at(first), chip.at(first));
    if (faults.contains(QStringLiteral("nochip"))) text += kAllBlank;
    QCOMPARE(panel(1), text);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().icon, MessageIcon::Warning);
    QVERIFY(m_dialogs.messages.first().text.endsWith(text));
    QVERIFY(view.isMarked(GridAddress::rowOf(first), GridAddress::columnOf(first)));
    QVERIFY(differences() && differences()->isVisible());
    QCOMPARE(differences()->list()->topLevelItemCount(), std::min<qint64>(mismatches, 256));
    const QTreeWidgetItem* line = differences()->list()->topLevelItem(0);
    QCOMPARE(line->text(0), addressText(first));
    QCOMPARE(line->text(1), byteText(written.at(first)));
    QCOMPARE(line->text(2), byteText(chip.at(first)));
}

// Verify compares without touching the image: every differing cell is marked, the first 256
// are listed, a chosen line becomes the grid's current cell, an edit takes its cell's mark away
// and a rebuild takes all of them and the list away.
void TestChipChecks::verifyMarksAndListsTheDifferences()
{
    EmulatedBoard& board = addBoard(k24C64, 3);
    QVERIFY(start());
    selectDevice(k24C64);
    readFrom(board);
    ImageView& view = window().imageView();
    view.setCurrentCell(3, 1);  // address 0x20
    controls().Text_modify_hex->setText(QStringLiteral("00"));
    QByteArray chip = board.contents();
    for (qint64 a = 0x100; a < 0x100 + 300; ++a) chip[a] = static_cast<char>(~chip.at(a));
    board.setContents(chip);
    const QByteArray before = image();

    click(controls().Cmd_VERIFY_all);
    verifyIdle();
    QCOMPARE(panel(1), verifyErrorText(301, 0x20, 0x00, chip.at(0x20)));
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(image(), before);
    QCOMPARE(view.markCount(), 301);
    QVERIFY(view.isMarked(3, 1));
    QVERIFY(view.isMarked(GridAddress::rowOf(0x100 + 299), GridAddress::columnOf(0x100 + 299)));
    QVERIFY(!view.isMarked(GridAddress::rowOf(0x100 + 300), GridAddress::columnOf(0x100 + 300)));
    QTreeWidget* list = differences()->list();
    QVERIFY(differences()->isVisible());
    QCOMPARE(list->topLevelItemCount(), 256);
    QCOMPARE(differences()->summaryText(), panel(1));

    // The second line: address 0x100, row 17, column 1.
    list->setCurrentItem(list->topLevelItem(1));
    QCOMPARE(view.currentAddress(), std::optional<qint64>(0x100));
    QCOMPARE(panel(3), QStringLiteral("ADDRESS:256"));
    QCOMPARE(controls().Text_modify_hex->text(), hexText(static_cast<quint8>(before.at(0x100)), 2));
    controls().Text_modify_hex->setText(QStringLiteral("5A"));
    QVERIFY(!view.isMarked(17, 1));
    QCOMPARE(view.markCount(), 300);

    // The menu entry runs the same verify; a rebuild of the grid takes marks and list away.
    controls().mnuVerify->trigger();
    QCOMPARE(view.markCount(), 301);
    m_dialogs.messageAnswers.append(MessageAnswer::Yes);  // the edits may go
    controls().Command1->click();
    QCOMPARE(view.markCount(), 0);
    QVERIFY(!differences()->isVisible());
}

// Blank check finds the first byte that is not 0xFF; erase asks first, naming the part, and
// leaves it blank. Neither changes the image.
void TestChipChecks::blankCheckAndErase()
{
    plainOverwrites();
    EmulatedBoard& source = addBoard(k24C02, 7);
    EmulatedBoard& board = addBoard(k24C02, 0);
    QByteArray part(256, '\xFF');
    part[0x37] = '\x12';
    part[0x80] = '\x00';
    board.setContents(part);
    QVERIFY(start());
    selectDevice(k24C02);
    readFrom(source);
    const QByteArray before = image();
    pointPortAt(board);

    controls().mnuBlankCheck->trigger();
    QCOMPARE(panel(1),
             QStringLiteral("ブランクではありません: 2 バイトが0xFF以外 (最初 0x00037 = 0x12)"));
    verifyIdle();

    const QByteArray sent = board.fromPc();
    m_dialogs.messageAnswers = {MessageAnswer::Cancel};
    controls().mnuErase->trigger();
    QCOMPARE(m_dialogs.messages.size(), 1);
    const MessageBoxRequest question = m_dialogs.messages.takeFirst();
    QVERIFY2(question.text.contains(QStringLiteral("24C02 (256 バイト)")),
             qPrintable(question.text));
    QCOMPARE(question.buttons, MessageButtons::OkCancel);
    settle();
    QCOMPARE(board.fromPc(), sent);
    QCOMPARE(board.contents(), part);

    controls().mnuErase->trigger();
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(panel(1), kBlank);
    verifyIdle();
    settle();
    QCOMPARE(board.contents(), QByteArray(256, '\xFF'));
    controls().mnuBlankCheck->trigger();
    QCOMPARE(panel(1), kBlank);
    QCOMPARE(image(), before);
    QCOMPARE(m_dialogs.messages.size(), 1);
}

void TestChipChecks::aSecondReadCatchesAFlippedRead_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("note");  // what panel 1 says after the reads' words
    QTest::newRow("Block Read") << "read" << QString();
    QTest::newRow("Verify") << "verify" << QString();
    QTest::newRow("Block Write, the read before it")
        << "write" << QStringLiteral(" (チップには何も書き込んでいません)");
}

// With 2回読んで比較 a bit that the line flips in the first read is caught by the second: the
// image and the chip keep what they held, the address is marked and listed with what each read
// gave, and panel 1 blames the contact.
void TestChipChecks::aSecondReadCatchesAFlippedRead()
{
    QFETCH(QString, command);
    QFETCH(QString, note);
    SettingsStore().save(kSettings6, kReadTwice, QStringLiteral("True"));
    EmulatedBoard& board = addBoard(k24C64, 4);
    QVERIFY(start());
    selectDevice(k24C64);
    readFrom(board);
    const QByteArray before = image();
    const QByteArray part = pattern(before.size(), 0x33);
    board.setContents(part);
    // Read chunk 3 (address 0x20 on) of the first read only: the second starts after 1.5 s.
    board.setFaults({QStringLiteral("flipread@3")});
    m_clock->after(700ms, [&] { board.setFaults({}); });
    MainWindowControls& c = controls();
    click(command == "read"     ? c.Cmd_READ_all
          : command == "verify" ? c.Cmd_VERIFY_all
                                : c.Cmd_WRITE_all);
    verifyIdle();
    settle();

    const char good = part.at(0x20);
    QCOMPARE(panel(1), QStringLiteral("読み出し 2 回の結果が 1 バイトで一致しません (最初 0x00020: "
                                      "%1 / %2)。 接触が不安定です。クリップ、ソケット、配線を確か"
                                      "めてください。")
                               .arg(byteText(static_cast<char>(good ^ 1)), byteText(good)) +
                           note);
    QCOMPARE(image(), before);
    QCOMPARE(board.contents(), part);
    ImageView& view = window().imageView();
    QCOMPARE(view.markCount(), 1);
    QVERIFY(view.isMarked(GridAddress::rowOf(0x20), GridAddress::columnOf(0x20)));
    QVERIFY(differences() && differences()->isVisible());
    const QTreeWidget* list = differences()->list();
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("1回目"));
    QCOMPARE(list->headerItem()->text(2), QStringLiteral("2回目"));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(2), byteText(good));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestChipChecks::theChipIsBackedUpBeforeItIsOverwritten_data()
{
    QTest::addColumn<bool>("erase");
    QTest::newRow("Block Write") << false;
    QTest::newRow("erase") << true;
}

// By default a Block Write or an erase first saves the whole part in the backups folder, and
// its end text names the file; the write sends the chunks that change.
void TestChipChecks::theChipIsBackedUpBeforeItIsOverwritten()
{
    QFETCH(bool, erase);
    EmulatedBoard& source = addBoard(k24C02, 7);
    EmulatedBoard& board = addBoard(k24C02, 0);
    QByteArray part = board.contents();
    part.replace(0xF0, 16, source.contents().mid(0xF0, 16));  // the last bytes the image's already
    board.setContents(part);
    QVERIFY(start());
    selectDevice(k24C02);
    readFrom(source);
    pointPortAt(board);

    if (erase) {
        controls().mnuErase->trigger();
    } else {
        click(controls().Cmd_WRITE_all);
    }
    verifyIdle();
    settle();

    QCOMPARE(board.contents(), erase ? QByteArray(256, '\xFF') : source.contents());
    const QDir folder(BackupFiles::defaultFolder());
    const QStringList saved = folder.entryList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^24C02_\\d{8}-\\d{6}_board1\\.bin$"))
                 .match(saved.first())
                 .hasMatch(),
             qPrintable(saved.first()));
    QFile file(folder.filePath(saved.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), part);
    const QString written = erase ? kBlank.chopped(kAllBlank.size())
                                  : QStringLiteral(
                                        "ベリファイOK \\(\\d+sec\\)  書き込んだ変更箇所: "
                                        "240 バイト \\(1 か所\\)");
    const QString backup = QStringLiteral("  バックアップ: ") + saved.first();
    if (erase) {
        QCOMPARE(panel(1), written + backup + kAllBlank);
    } else {
        QVERIFY2(QRegularExpression(QLatin1Char('^') + written +
                                    QRegularExpression::escape(backup) + QLatin1Char('$'))
                     .match(panel(1))
                     .hasMatch(),
                 qPrintable(panel(1)));
    }
}

void TestChipChecks::cancelStopsTheAccess_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<bool>("escape");
    QTest::newRow("read, button") << false << false;
    QTest::newRow("read, Esc") << false << true;
    QTest::newRow("write, button") << true << false;
    QTest::newRow("write, Esc") << true << true;
}

// Cancel stops a read or a write at the next chunk boundary: the port is closed, the image
// is as it was, and a write says how far the part was written. No verify follows.
void TestChipChecks::cancelStopsTheAccess()
{
    plainOverwrites();
    QFETCH(bool, write);
    QFETCH(bool, escape);
    EmulatedBoard& board = addBoard(k24C64, 5);
    const QByteArray part = board.contents();
    pointPortAt(board);
    QVERIFY(start());
    selectDevice(k24C64);
    QApplication::setActiveWindow(&window());
    const QByteArray before = image();
    const int openings = m_port->openCount;
    bool cancelEnabled = false;
    m_clock->after(400ms, [&] {
        cancelEnabled = controls().Cmd_Cancel->isEnabled();
        if (escape) {
            QTest::keyClick(&window(), Qt::Key_Escape);
        } else {
            click(controls().Cmd_Cancel);
        }
    });
    click(write ? controls().Cmd_WRITE_all : controls().Cmd_READ_all);
    QVERIFY(cancelEnabled);
    verifyIdle();
    QCOMPARE(m_port->openCount, openings + 1);
    QCOMPARE(image(), before);
    const AccessOutcome& outcome = window().access().lastOutcome().access;
    QCOMPARE(outcome.kind, AccessOutcome::Kind::Cancelled);
    QVERIFY(outcome.bytesDone > 0 && outcome.bytesDone < part.size());
    settle();
    QVERIFY(board.events().contains(
        write ? QStringLiteral("port closed: the write still waits for %1 bytes")
                    .arg(part.size() - outcome.bytesDone)
              : QStringLiteral("port closed: transfer abandoned")));
    if (!write) {
        QCOMPARE(panel(1), QStringLiteral("中止しました。"));
        QCOMPARE(board.contents(), part);
        return;
    }
    QCOMPARE(panel(1), QStringLiteral("中止しました。") + stoppedWriteNote(outcome));
    QCOMPARE(board.contents().left(outcome.bytesDone), before.left(outcome.bytesDone));
    QCOMPARE(board.contents().mid(outcome.bytesDone), part.mid(outcome.bytesDone));
}

// A close during a write asks first; No lets the write (and its verify) run on, Yes stops it,
// says how far the part was written, and closes the window.
void TestChipChecks::closingDuringAWriteAsksFirst()
{
    plainOverwrites();
    EmulatedBoard& board = addBoard(k24C64, 9);
    pointPortAt(board);
    QVERIFY(start());
    selectDevice(k24C64);
    QSignalSpy unloaded(&window(), &MainWindow::unloaded);
    bool closed = true;
    m_dialogs.messageAnswers = {MessageAnswer::Cancel};
    m_clock->after(300ms, [&] { closed = window().close(); });
    click(controls().Cmd_WRITE_all);
    QVERIFY(!closed);
    QCOMPARE(m_dialogs.messages.size(), 1);
    const MessageBoxRequest question = m_dialogs.messages.first();
    QVERIFY(question.text.contains(QStringLiteral("途中まで書き込まれた")));
    QCOMPARE(question.buttons, MessageButtons::OkCancel);
    // The image written is blank: its verify says what else reads as nothing but 0xFF.
    QVERIFY2(panel(1).endsWith(kAllBlank) &&
                 kVerifyOk.match(panel(1).chopped(kAllBlank.size())).hasMatch(),
             qPrintable(panel(1)));
    QVERIFY(window().isVisible());

    // Yes: the write stops at its next chunk, and the window closes after saying how far it got.
    m_dialogs.messages.clear();
    m_dialogs.messageAnswers = {MessageAnswer::Ok};
    m_clock->after(300ms, [&] { closed = window().close(); });
    click(controls().Cmd_WRITE_all);
    QVERIFY(!closed);
    QCOMPARE(m_dialogs.messages.size(), 2);
    const AccessOutcome& outcome = window().access().lastOutcome().access;
    QCOMPARE(outcome.kind, AccessOutcome::Kind::Cancelled);
    QCOMPARE(m_dialogs.messages.at(1).text,
             QStringLiteral("書き込みを中止しました。") + stoppedWriteNote(outcome));
    QTRY_COMPARE(unloaded.size(), 1);
}

// While a read runs the progress bar shows panel 3's percentage and the time beside it; the
// commands that reach the chip are held off and Cancel is enabled. A read of nothing but 0xFF
// says that the socket may be empty.
void TestChipChecks::progressWhileAReadRuns()
{
    EmulatedBoard& empty = addBoard(k24C64, 0, {QStringLiteral("nochip")});
    EmulatedBoard& board = addBoard(k24C64, 2);
    QVERIFY(start());
    selectDevice(k24C64);
    pointPortAt(empty);
    click(controls().Cmd_READ_all);
    QCOMPARE(image(), QByteArray(8192, '\xFF'));
    QVERIFY2(panel(1).endsWith(kAllBlank), qPrintable(panel(1)));

    pointPortAt(board);
    MainWindowControls& c = controls();
    int value = -1;
    QString percent;
    QString time;
    QStringList enabled;
    m_clock->after(800ms, [&] {
        value = c.PrgAccess->isVisible() ? c.PrgAccess->value() : -1;
        percent = panel(3);
        time = c.Lbl_AccessTime->isVisible() ? c.Lbl_AccessTime->text() : QString();
        for (QWidget* widget : QList<QWidget*>{c.Cmd_VERIFY_all, c.Cmd_READ_all}) {
            if (widget->isEnabled()) enabled.append(widget->objectName());
        }
        for (QAction* action : {c.mnuVerify, c.mnuBlankCheck, c.mnuErase}) {
            if (action->isEnabled()) enabled.append(action->objectName());
        }
        if (!c.Cmd_Cancel->isVisible() || !c.Cmd_Cancel->isEnabled()) {
            enabled.append(QStringLiteral("Cmd_Cancel off"));
        }
    });
    click(c.Cmd_READ_all);
    QVERIFY2(value > 0 && value < 100, qPrintable(QString::number(value)));
    // Panel 3 follows every percent; the bar at most ten times a second, so it may lag a little.
    const int shown = QString(percent).remove(QLatin1Char('%')).toInt();
    QVERIFY2(value <= shown && shown - value <= 10, qPrintable(percent));
    QVERIFY2(QRegularExpression(QStringLiteral("^経過 0:00 / 残り 0:0\\d$")).match(time).hasMatch(),
             qPrintable(time));
    QCOMPARE(enabled, QStringList());
    QVERIFY2(QRegularExpression(QStringLiteral("^読み出し終了。 \\(\\d+sec\\)$"))
                 .match(panel(1))
                 .hasMatch(),
             qPrintable(panel(1)));
    verifyIdle();
}

// The program's own serial port and clock against qzpgm-sim storing one bit wrong: the verify
// after the write finds it at the start of the second chunk.
void TestChipChecks::theRealPortCatchesAFlippedBit()
{
    plainOverwrites();
    SimProcess sim(SimProcess::shippedData() + QStringList{QStringLiteral("--device"), k24C02,
                                                           QStringLiteral("--fault"),
                                                           QStringLiteral("flip@2")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    pointPortAt(sim.devicePath());
    QVERIFY(start(false));
    selectDevice(k24C02);
    click(controls().Cmd_WRITE_all);
    const QString text = verifyErrorText(1, 0x08, '\xFF', '\xFE');
    QCOMPARE(panel(1), text);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(window().imageView().isMarked(1, 9));
    verifyIdle();
}

QTEST_MAIN(TestChipChecks)
#include "tst_chip_checks.moc"
