// The four access buttons of the real main window against the emulated board: whole-part and
// single-byte transfers of three kinds of part, and how each board failure ends. The board
// runs in process on the fake clock, so time-outs take no real time; one test goes through
// the real serial port to qzpgm-sim on a pseudo-terminal.
#include "base/SettingsStore.h"
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
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace SettingsKeys;
using namespace std::chrono_literals;

namespace {

const QString k24C02 = QStringLiteral("24C02");
const QString k93C46 = QStringLiteral("AT93C46");
const QString k1Mbit = QStringLiteral("24C1024");

const QString kNotConnected = QStringLiteral("COM1 : ライター未接続");
const QString kConnected = QStringLiteral("COM1 : QZ-PGM Ver 6.00");
const QString kCheckFailed = QStringLiteral("プログラマ接続確認エラー。");
const QRegularExpression kReadDone(QStringLiteral("^読み出し終了。 \\(\\d+sec\\)$"));
const QRegularExpression kWriteDone(QStringLiteral("^書き込み終了。 \\(\\d+sec\\)$"));

QString checkSumLabel(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (const char byte : bytes) sum += static_cast<quint8>(byte);
    return QString::asprintf("CheckSum:%04X", sum & 0xFFFFu);
}

QString cellLabel(quint8 value) { return QString::asprintf("0x%02X", value); }

}  // namespace

class TestAccessEmulator : public QObject, protected WindowOnBoards {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void blockTransfersCopyAPart_data();
    void blockTransfersCopyAPart();
    void byteTransfersTouchOneCell();
    void detectionFailuresStopBeforeTheAccess_data();
    void detectionFailuresStopBeforeTheAccess();
    void anUnusablePortEndsTheAccess();
    void silentBoardsEndTransfersWithTimeOuts();
    void wrongReplyStopsWrites();
    void lineNoiseAndExtraBytesInTransfers();
    void closingTheWindowStopsARunningRead();
    void aLostLineEndsTheAccessAtOnce();
    void aFailedReadKeepsWhatTheNextWriteSends();
    void theRealPortCarriesATransfer();

private:
    void verifyIdle();
};

void TestAccessEmulator::init()
{
    setUp();
    // These tests hold the accesses as they are without a verify after each write, a backup
    // before it or a read that finds the changed chunks; those have tests of their own.
    SettingsStore settings;
    for (const QString& option : {kVerifyAfterWrite, kBackupBeforeWrite, kWriteChangedOnly}) {
        settings.save(kSettings6, option, QStringLiteral("False"));
    }
}

void TestAccessEmulator::cleanup() { tearDown(); }

void TestAccessEmulator::verifyIdle()
{
    QVERIFY(!window().serialPort().isOpen());
    QVERIFY(!window().access().running());
    MainWindowControls& c = controls();
    const QList<QWidget*> widgets{c.MSFGrid1,      c.Cmd_READ_all,     c.Cmd_READ_single,
                                  c.Cmd_WRITE_all, c.Cmd_WRITE_single, c.Frame1,
                                  c.Combo_device,  c.CmbSize,          c.Command1,
                                  c.Cmd_Open,      c.Cmd_Port};
    for (QWidget* widget : widgets) QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    for (QAction* action : {c.mnuBufferClear, c.mnuFileOpen, c.mnuFileSaveAs, c.mnuOutPutTextFile,
                            c.mnuToolsOptions}) {
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    }
    QVERIFY(c.Cmd_SaveAs->isEnabled());
}

void TestAccessEmulator::blockTransfersCopyAPart_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("size");
    QTest::newRow("I2C, one address byte") << k24C02 << 256;
    QTest::newRow("Microwire") << k93C46 << 128;
    QTest::newRow("I2C 1 Mbit, A16 in the device address") << k1Mbit << 131072;
}

// A Block Read from one board, a Block Write of that image to a second board with other
// contents, and a Block Read from the second board give the first board's bytes throughout.
void TestAccessEmulator::blockTransfersCopyAPart()
{
    QFETCH(QString, device);
    QFETCH(int, size);
    EmulatedBoard& source = addBoard(device, 0);
    EmulatedBoard& target = addBoard(device, 0x5A);
    pointPortAt(source);
    QVERIFY(start());
    selectDevice(device);
    QCOMPARE(controls().CmbSize->currentText().toInt(), size);

    click(controls().Cmd_READ_all);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    const QByteArray expected = source.contents();
    QCOMPARE(image(), expected);
    const QString checkSum = checkSumLabel(expected);
    QCOMPARE(controls().LblCheckSUM->text(), checkSum);
    ImageView& view = window().imageView();
    QCOMPARE(view.gridRows(), size / 16 + 1);
    QCOMPARE(view.cellText(1, 1), cellLabel(expected.at(0)));
    QCOMPARE(view.cellText(size / 16, 16), cellLabel(expected.at(size - 1)));

    pointPortAt(target);
    click(controls().Cmd_WRITE_all);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    QCOMPARE(image(), expected);
    // The next access follows at once; the board still finishes the last chunk first.
    click(controls().Cmd_READ_all);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    verifyIdle();
    QCOMPARE(image(), expected);
    QCOMPARE(controls().LblCheckSUM->text(), checkSum);
    QCOMPARE(target.contents(), expected);
}

void TestAccessEmulator::byteTransfersTouchOneCell()
{
    EmulatedBoard& source = addBoard(k24C02, 0);
    EmulatedBoard& target = addBoard(k24C02, 0x33);
    pointPortAt(source);
    QVERIFY(start());
    selectDevice(k24C02);
    click(controls().Cmd_READ_all);
    const QByteArray read = source.contents();
    QCOMPARE(image(), read);

    // Byte Write: row 3, column 5 is address 0x24.
    pointPortAt(target);
    ImageView& view = window().imageView();
    view.setCurrentCell(3, 5);
    const QByteArray before = target.contents();
    click(controls().Cmd_WRITE_single);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(3), QStringLiteral("100%"));
    verifyIdle();
    settle();
    QByteArray part = before;
    part[0x24] = read.at(0x24);
    QCOMPARE(target.contents(), part);
    QCOMPARE(image(), read);

    // Byte Read: row 16, column 16 is the last byte; only that cell changes.
    view.setCurrentCell(16, 16);
    click(controls().Cmd_READ_single);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    verifyIdle();
    QByteArray expected = read;
    expected[0xFF] = part.at(0xFF);
    QCOMPARE(image(), expected);
    QCOMPARE(view.cellText(16, 16), cellLabel(part.at(0xFF)));
    QCOMPARE(controls().Text_modify_hex->text().toUpper(),
             QString::asprintf("%02X", static_cast<quint8>(part.at(0xFF))));

    // A byte read that fails leaves the image as it was; so does a byte write.
    EmulatedBoard& wrongId = addBoard(k24C02, 0x77, {QStringLiteral("wrong-id")});
    pointPortAt(wrongId);
    view.setCurrentCell(2, 1);
    click(controls().Cmd_READ_single);
    QCOMPARE(panel(1), kCheckFailed);
    QCOMPARE(panel(2), kNotConnected);
    verifyIdle();
    QCOMPARE(image(), expected);

    EmulatedBoard& noisy = addBoard(k24C02, 0x77, {QStringLiteral("garbage@1")});
    const QByteArray noisyBefore = noisy.contents();
    pointPortAt(noisy);
    click(controls().Cmd_WRITE_single);
    QCOMPARE(panel(1), QStringLiteral(" ライトエラー (チップには何も書き込んでいません)"));
    verifyIdle();
    settle();
    QCOMPARE(image(), expected);
    QCOMPARE(noisy.contents(), noisyBefore);
}

void TestAccessEmulator::detectionFailuresStopBeforeTheAccess_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("panel1");
    QTest::addColumn<QString>("panel2");
    QTest::addColumn<int>("messages");
    const QString v6 = QStringLiteral("6.00");
    const QString v5 = QStringLiteral("5.10");
    QTest::newRow("no answer, read")
        << QStringList{"no-answer"} << v6 << false << kCheckFailed + QStringLiteral("【0】")
        << kNotConnected << 0;
    QTest::newRow("identification cut short, write")
        << QStringList{"short-id"} << v6 << true << kCheckFailed + QStringLiteral("【16】")
        << kNotConnected << 0;
    QTest::newRow("another board, read")
        << QStringList{"wrong-id"} << v6 << false << kCheckFailed << kNotConnected << 0;
    QTest::newRow("another board, write")
        << QStringList{"wrong-id"} << v6 << true << kCheckFailed << kNotConnected << 0;
    QTest::newRow("firmware 5, read") << QStringList{} << v5 << false << kCheckFailed
                                      << QStringLiteral("COM1 : QZ-PGM Ver 5.10") << 1;
    QTest::newRow("firmware 5, write") << QStringList{} << v5 << true << kCheckFailed
                                       << QStringLiteral("COM1 : QZ-PGM Ver 5.10") << 1;
}

// Nothing but the two identification queries reaches a board that fails detection, and the
// image stays as it was.
void TestAccessEmulator::detectionFailuresStopBeforeTheAccess()
{
    QFETCH(QStringList, faults);
    QFETCH(QString, firmware);
    QFETCH(bool, write);
    QFETCH(QString, panel1);
    QFETCH(QString, panel2);
    QFETCH(int, messages);
    EmulatedBoard& good = addBoard(k24C02, 0x42);
    EmulatedBoard& board = addBoard(k24C02, 0, faults, firmware);
    const QByteArray part = board.contents();
    QVERIFY(start());
    selectDevice(k24C02);
    // An image that is not blank, from the part behind a working board.
    pointPortAt(good);
    click(controls().Cmd_READ_all);
    QByteArray expected = good.contents();
    QCOMPARE(image(), expected);

    pointPortAt(board);
    click(write ? controls().Cmd_WRITE_all : controls().Cmd_READ_all);
    QCOMPARE(panel(1), panel1);
    QCOMPARE(panel(2), panel2);
    verifyIdle();
    QCOMPARE(m_dialogs.messages.size(), messages);
    if (messages > 0) {
        QCOMPARE(m_dialogs.messages.first().text,
                 QStringLiteral("このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
                                "ファームウエアバージョン６以上をご使用ください。"));
    }
    QCOMPARE(image(), expected);
    QCOMPARE(controls().LblCheckSUM->text(), checkSumLabel(expected));
    settle();
    QCOMPARE(board.fromPc(), QByteArray("??"));
    QCOMPARE(board.contents(), part);
}

void TestAccessEmulator::anUnusablePortEndsTheAccess()
{
    pointPortAt(m_environment->configFolder() + QStringLiteral("/no-such-tty"));
    QVERIFY(start());
    selectDevice(k24C02);
    for (QPushButton* button : {controls().Cmd_READ_all, controls().Cmd_WRITE_single}) {
        m_dialogs.messages.clear();
        click(button);
        QCOMPARE(m_dialogs.messages.size(), 1);
        const MessageBoxRequest& message = m_dialogs.messages.first();
        QCOMPARE(message.text, QStringLiteral("指定した通信ポートは使用できませんでした。"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QVERIFY(message.detail.contains(QStringLiteral("no-such-tty")));
        QCOMPARE(panel(1), kCheckFailed + QStringLiteral("【0】"));
        QCOMPARE(panel(2), kNotConnected);
        verifyIdle();
    }
}

// A read and a write whose board falls silent in the middle of the transfer: both end after
// the 30-second reply limit of the clock.
void TestAccessEmulator::silentBoardsEndTransfersWithTimeOuts()
{
    const int size = 256;
    const int chunk = 8;
    EmulatedBoard& reader = addBoard(k24C02, 0, {QStringLiteral("silence@5")});
    pointPortAt(reader);
    QVERIFY(start());
    selectDevice(k24C02);
    const LinkClock::Duration start = m_clock->now();
    click(controls().Cmd_READ_all);
    QVERIFY(m_clock->now() - start > 30s);
    QCOMPARE(panel(1), QStringLiteral("タイムアウト  リードエラー"));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    // Five chunks came before the silence; none of them replaces the image.
    const QByteArray expected(size, static_cast<char>(0xFF));
    QCOMPARE(image(), expected);

    EmulatedBoard& writer = addBoard(k24C02, 0x21, {QStringLiteral("silence@3")});
    QByteArray part = writer.contents();
    pointPortAt(writer);
    click(controls().Cmd_WRITE_all);
    QCOMPARE(panel(1), QStringLiteral("タイムアウト ライトエラー (チップは 0x%1 まで書き込み済み"
                                      "です)")
                           .arg(3 * chunk - 1, 5, 16, QLatin1Char('0')));
    verifyIdle();
    QCOMPARE(image(), expected);
    // Three chunks reached the part before the board fell silent.
    settle();
    part.replace(0, 3 * chunk, expected.left(3 * chunk));
    QCOMPARE(writer.contents(), part);
}

void TestAccessEmulator::wrongReplyStopsWrites()
{
    const int size = 128;
    const int chunk = 16;
    EmulatedBoard& board = addBoard(k93C46, 0x10, {QStringLiteral("wrong-ready@4")});
    QByteArray part = board.contents();
    pointPortAt(board);
    QVERIFY(start());
    selectDevice(k93C46);
    const QByteArray blank(size, static_cast<char>(0xFF));
    click(controls().Cmd_WRITE_all);
    QCOMPARE(panel(1), QStringLiteral("書き込み中..... ライトエラー (チップは 0x0002F まで書き込み"
                                      "済みです)"));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    QCOMPARE(image(), blank);
    settle();
    part.replace(0, 3 * chunk, blank.left(3 * chunk));
    QCOMPARE(board.contents(), part);
    // The fourth chunk never went out: "??", "E" "e3P", "E" "e3W", two packets, three chunks.
    QCOMPARE(board.fromPc().size(), 2 + 4 + 4 + 2 * 4 + 3 * chunk);
}

// Bytes the board should not have sent: a read chunk with noise before or after it cannot be
// told from its data, so the read fails and the image is as it was; a write checks the first
// byte of the ready answer only.
void TestAccessEmulator::lineNoiseAndExtraBytesInTransfers()
{
    EmulatedBoard& noisy = addBoard(k24C02, 0, {QStringLiteral("garbage@3")});
    EmulatedBoard& extra = addBoard(k24C02, 0x64, {QStringLiteral("extra@2")});
    EmulatedBoard& target = addBoard(k24C02, 0x01, {QStringLiteral("extra@2")});
    QVERIFY(start());
    selectDevice(k24C02);
    const QByteArray before = image();

    for (EmulatedBoard* board : {&noisy, &extra}) {
        pointPortAt(*board);
        click(controls().Cmd_READ_all);
        QCOMPARE(panel(1), QStringLiteral("読み出し中.....  リードエラー"));
        verifyIdle();
        QCOMPARE(image(), before);
    }

    pointPortAt(target);
    click(controls().Cmd_WRITE_all);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    verifyIdle();
    settle();
    QCOMPARE(target.contents(), before);
}

// A close during a read is held until the read has stopped at its next wait; the window then
// closes by itself.
void TestAccessEmulator::closingTheWindowStopsARunningRead()
{
    EmulatedBoard& board = addBoard(k1Mbit, 0);
    pointPortAt(board);
    QVERIFY(start());
    selectDevice(k1Mbit);
    QSignalSpy unloaded(&window(), &MainWindow::unloaded);
    bool closedWhileRunning = false;
    QStringList enabledWhileRunning;
    QString progress;
    // Five seconds into a read of 24 seconds.
    m_clock->after(5s, [&] {
        progress = panel(3);
        // Nothing that changes the port, the device or the image can be reached meanwhile.
        MainWindowControls& c = controls();
        const QList<QWidget*> heldOff{
            c.MSFGrid1, c.Cmd_READ_all, c.Cmd_WRITE_single, c.Frame1,   c.Combo_device,
            c.CmbSize,  c.Command1,     c.Cmd_Open,         c.Cmd_Port, c.Cmd_SaveAs};
        for (QWidget* widget : heldOff) {
            if (widget->isEnabled()) enabledWhileRunning.append(widget->objectName());
        }
        for (QAction* action : {c.mnuBufferClear, c.mnuFileOpen, c.mnuToolsOptions, c.mnuFileSaveAs,
                                c.mnuOutPutTextFile}) {
            if (action->isEnabled()) enabledWhileRunning.append(action->objectName());
        }
        closedWhileRunning = !window().close();
    });
    click(controls().Cmd_READ_all);
    QVERIFY2(QRegularExpression(QStringLiteral("^[1-9][0-9]%$")).match(progress).hasMatch(),
             qPrintable(progress));
    QVERIFY(closedWhileRunning);
    QVERIFY(m_dialogs.messages.isEmpty());  // only a write asks before it is stopped
    QCOMPARE(enabledWhileRunning, QStringList());
    QVERIFY(!window().serialPort().isOpen());
    QVERIFY(!window().access().running());
    QVERIFY(!kReadDone.match(panel(1)).hasMatch());
    QTRY_COMPARE(unloaded.size(), 1);
    QVERIFY(!window().isVisible());
    settle();
    QVERIFY(board.events().contains(QStringLiteral("port closed: transfer abandoned")));
}

// The adapter pulled out in the middle of a read and of a write: the access ends at once with
// the line's text, the port is closed and the image is as it was.
void TestAccessEmulator::aLostLineEndsTheAccessAtOnce()
{
    EmulatedBoard& dropping = addBoard(k24C02, 0, {QStringLiteral("drop@4")});
    EmulatedBoard& board = addBoard(k24C02, 0x11);
    QVERIFY(start());
    selectDevice(k24C02);
    const QByteArray before = image();

    pointPortAt(dropping);
    click(controls().Cmd_READ_all);
    QCOMPARE(panel(1), QStringLiteral("通信ポートが切断されました。  リードエラー"));
    QCOMPARE(panel(2), kNotConnected);
    verifyIdle();
    QCOMPARE(image(), before);

    pointPortAt(board);
    LinkClock::Duration pulled{};
    m_clock->after(200ms, [&] {
        pulled = m_clock->now();
        m_port->pullOut();
    });
    click(controls().Cmd_WRITE_all);
    QVERIFY(m_clock->now() - pulled < 200ms);
    QVERIFY2(panel(1).startsWith(
                 QStringLiteral("通信ポートが切断されました。 ライトエラー (チップは 0x")),
             qPrintable(panel(1)));
    QCOMPARE(panel(2), kNotConnected);
    verifyIdle();
}

// Read chip A, pull the board out, a Block Read fails, a Block Write to chip B: chip B holds
// chip A's data.
void TestAccessEmulator::aFailedReadKeepsWhatTheNextWriteSends()
{
    EmulatedBoard& chipA = addBoard(k24C02, 0x0A);
    EmulatedBoard& chipB = addBoard(k24C02, 0x0B);
    pointPortAt(chipA);
    QVERIFY(start());
    selectDevice(k24C02);
    click(controls().Cmd_READ_all);
    QCOMPARE(image(), chipA.contents());

    pointPortAt(QStringLiteral("/dev/unplugged"));
    click(controls().Cmd_READ_all);
    QCOMPARE(panel(1), kCheckFailed + QStringLiteral("【0】"));
    QCOMPARE(image(), chipA.contents());
    QCOMPARE(controls().LblCheckSUM->text(), checkSumLabel(chipA.contents()));

    pointPortAt(chipB);
    click(controls().Cmd_WRITE_all);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    settle();
    QCOMPARE(chipB.contents(), chipA.contents());
}

// The program's own serial port and clock against qzpgm-sim on a pseudo-terminal: a Block
// Write and a Block Read come through whole.
void TestAccessEmulator::theRealPortCarriesATransfer()
{
    QTemporaryDir folder;
    const QString imagePath = folder.filePath(QStringLiteral("part.bin"));
    SimProcess sim(SimProcess::shippedData() + QStringList{QStringLiteral("--device"), k24C02,
                                                           QStringLiteral("--image"), imagePath});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    pointPortAt(sim.devicePath());
    QVERIFY(start(false));
    selectDevice(k24C02);
    window().imageView().setCurrentCell(1, 1);
    controls().Text_modify_hex->setText(QStringLiteral("5A"));
    const QByteArray written = image();
    QCOMPARE(static_cast<quint8>(written.at(0)), 0x5A);

    click(controls().Cmd_WRITE_all);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    m_dialogs.messageAnswers.append(MessageAnswer::Yes);  // the edited image may be read over
    click(controls().Cmd_READ_all);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    QCOMPARE(image(), written);
    QFile part(imagePath);
    QVERIFY(part.open(QIODevice::ReadOnly));
    QCOMPARE(part.readAll(), written);

    // The line goes away in the middle of a read: the read ends at once, without spinning
    // through the 30-second wait.
    SimProcess dropping(SimProcess::shippedData() + QStringList{QStringLiteral("--device"), k24C02,
                                                                QStringLiteral("--fault"),
                                                                QStringLiteral("drop@3")});
    QVERIFY2(dropping.isRunning(), qPrintable(dropping.errorText()));
    pointPortAt(dropping.devicePath());
    QElapsedTimer timer;
    timer.start();
    click(controls().Cmd_READ_all);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(panel(1), QStringLiteral("通信ポートが切断されました。  リードエラー"));
    QCOMPARE(panel(2), kNotConnected);
    verifyIdle();
    QCOMPARE(image(), written);
}

QTEST_MAIN(TestAccessEmulator)
#include "tst_access_emulator.moc"
