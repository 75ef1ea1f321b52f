// The four access buttons of the real main window against qzpgm-sim on a pseudo-terminal:
// whole-part and single-byte transfers of three kinds of part, and how each board failure the
// emulator can show ends. Waits and time-outs run on the real clock here; the fine points of
// the protocol's timing are tested with a fake clock elsewhere.
#include "app/SettingsStore.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "image/gui/ImageView.h"
#include "link/PortDevices.h"
#include "link/SerialPort.h"
#include "link/gui/AccessController.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/SimProcess.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace SettingsKeys;

namespace {

const QString k24C02 = QStringLiteral("24C02");
const QString k93C46 = QStringLiteral("AT93C46");
const QString k1Mbit = QStringLiteral("24C1024");

const QString kNotConnected = QStringLiteral("COM1 : ライター未接続");
const QString kConnected = QStringLiteral("COM1 : QZ-PGM Ver 6.00");
const QString kCheckFailed = QStringLiteral("プログラマ接続確認エラー。");
const QRegularExpression kReadDone(QStringLiteral("^読み出し終了。 \\(\\d+sec\\)$"));
const QRegularExpression kWriteDone(QStringLiteral("^書き込み終了。 \\(\\d+sec\\)$"));

// Every address gets a value that also depends on its upper address bits, so a transfer that
// loses A8..A16 shows.
QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i + (i >> 8) * 3 + (i >> 16) * 11 + seed) & 0xFF);
    }
    return bytes;
}

QString checkSumLabel(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (const char byte : bytes) sum += static_cast<quint8>(byte);
    return QString::asprintf("CheckSum:%04X", sum & 0xFFFFu);
}

QString cellLabel(quint8 value) { return QString::asprintf("0x%02X", value); }

}  // namespace

// One emulated board: its part kept in a file the test fills and reads back.
class Board {
public:
    Board(const QString& device, qint64 size, int seed, const QStringList& extra = {})
        : m_contents(pattern(size, seed)), m_sim(arguments(device, extra, m_contents, m_folder))
    {
    }

    [[nodiscard]] SimProcess& sim() { return m_sim; }
    [[nodiscard]] const QByteArray& initialContents() const { return m_contents; }
    [[nodiscard]] QByteArray partContents() const
    {
        QFile file(m_folder.filePath(QStringLiteral("part.bin")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // How often the emulator has logged the event `text`.
    [[nodiscard]] int eventCount(const QString& text) const
    {
        return static_cast<int>(m_sim.events().count(text));
    }

private:
    static QStringList arguments(const QString& device, const QStringList& extra,
                                 const QByteArray& contents, const QTemporaryDir& folder)
    {
        const QString image = folder.filePath(QStringLiteral("part.bin"));
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
            qFatal("cannot write the part image");
        }
        return SimProcess::shippedData() +
               QStringList{QStringLiteral("--device"), device, QStringLiteral("--image"), image} +
               extra;
    }

    QTemporaryDir m_folder;
    QByteArray m_contents;
    SimProcess m_sim;
};

class TestAccessEmulator : public QObject {
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

private:
    [[nodiscard]] bool start();
    void pointPortAt(const QString& device);
    void selectDevice(const QString& name);
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void verifyIdle();
    // The emulator has programmed the last chunk of `count` writes (its final "@").
    void waitForWrites(const Board& board, int count);
    [[nodiscard]] MainWindow& window() { return *m_startup->mainWindow(); }
    [[nodiscard]] MainWindowControls& controls() { return window().controls(); }
    [[nodiscard]] QString panel(int number) { return window().statusPanels().text(number); }
    [[nodiscard]] QByteArray image() const { return m_startup->state().image.bytes(); }

    std::unique_ptr<TestEnvironment> m_environment;
    FakeUserDialogs m_dialogs;
    FakeDesktopOpener m_desktop;
    std::unique_ptr<Startup> m_startup;
};

void TestAccessEmulator::init()
{
    m_environment = std::make_unique<TestEnvironment>();
    m_dialogs = FakeUserDialogs();
    SettingsStore settings;
    settings.save(kSettings, kComNo, QStringLiteral("0"));
}

void TestAccessEmulator::cleanup()
{
    m_startup.reset();
    m_environment.reset();
}

bool TestAccessEmulator::start()
{
    m_startup = std::make_unique<Startup>(Startup::Environment{
        m_environment->appFolder(), m_environment->lockFilePath(), &m_dialogs, &m_desktop});
    return m_startup->run() && m_startup->mainWindow();
}

void TestAccessEmulator::pointPortAt(const QString& device)
{
    SettingsStore settings;
    settings.save(kPorts, portKey(1), device);
}

void TestAccessEmulator::selectDevice(const QString& name)
{
    const int index =
        controls().Combo_device->findText(name + QLatin1Char(' '), Qt::MatchStartsWith);
    QVERIFY2(index >= 0, qPrintable(name));
    controls().Combo_device->setCurrentIndex(index);
    QVERIFY(m_startup->state().selectedDevice.has_value());
    controls().CmbSize->setCurrentIndex(controls().CmbSize->count() - 1);
}

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
    QVERIFY(c.mnuBufferClear->isEnabled());
    QVERIFY(c.mnuFileOpen->isEnabled());
}

void TestAccessEmulator::waitForWrites(const Board& board, int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(board.eventCount(QStringLiteral("write finished")) >= count, 20000);
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
    Board source(device, size, 0);
    Board target(device, size, 0x5A);
    QVERIFY2(source.sim().isRunning(), qPrintable(source.sim().errorText()));
    QVERIFY2(target.sim().isRunning(), qPrintable(target.sim().errorText()));
    pointPortAt(source.sim().devicePath());
    QVERIFY(start());
    selectDevice(device);
    QCOMPARE(controls().CmbSize->currentText().toInt(), size);

    click(controls().Cmd_READ_all);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    const QByteArray expected = source.initialContents();
    QCOMPARE(image(), expected);
    const QString checkSum = checkSumLabel(expected);
    QCOMPARE(controls().LblCheckSUM->text(), checkSum);
    ImageView& view = window().imageView();
    QCOMPARE(view.gridRows(), size / 16 + 1);
    QCOMPARE(view.cellText(1, 1), cellLabel(expected.at(0)));
    QCOMPARE(view.cellText(size / 16, 16), cellLabel(expected.at(size - 1)));
    QCOMPARE(source.partContents(), expected);

    pointPortAt(target.sim().devicePath());
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
    QCOMPARE(target.partContents(), expected);
}

void TestAccessEmulator::byteTransfersTouchOneCell()
{
    const int size = 256;
    Board source(k24C02, size, 0);
    Board target(k24C02, size, 0x33);
    QVERIFY(source.sim().isRunning() && target.sim().isRunning());
    pointPortAt(source.sim().devicePath());
    QVERIFY(start());
    selectDevice(k24C02);
    click(controls().Cmd_READ_all);
    QCOMPARE(image(), source.initialContents());

    // Byte Write: row 3, column 5 is address 0x24.
    pointPortAt(target.sim().devicePath());
    ImageView& view = window().imageView();
    view.setCurrentCell(3, 5);
    click(controls().Cmd_WRITE_single);
    QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    QCOMPARE(panel(3), QStringLiteral("100%"));
    verifyIdle();
    waitForWrites(target, 1);
    QByteArray part = target.initialContents();
    part[0x24] = source.initialContents().at(0x24);
    QCOMPARE(target.partContents(), part);
    QCOMPARE(image(), source.initialContents());

    // Byte Read: row 16, column 16 is the last byte, 0xFF; only that cell changes.
    view.setCurrentCell(16, 16);
    click(controls().Cmd_READ_single);
    QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
    verifyIdle();
    QByteArray expected = source.initialContents();
    expected[0xFF] = part.at(0xFF);
    QCOMPARE(image(), expected);
    QCOMPARE(view.cellText(16, 16), cellLabel(part.at(0xFF)));
    QCOMPARE(controls().Text_modify_hex->text().toUpper(),
             QString::asprintf("%02X", static_cast<quint8>(part.at(0xFF))));

    // A byte read that fails leaves the image as it was; so does a byte write.
    Board wrongId(k24C02, size, 0x77, {QStringLiteral("--fault"), QStringLiteral("wrong-id")});
    pointPortAt(wrongId.sim().devicePath());
    view.setCurrentCell(2, 1);
    click(controls().Cmd_READ_single);
    QCOMPARE(panel(1), kCheckFailed);
    QCOMPARE(panel(2), kNotConnected);
    verifyIdle();
    QCOMPARE(image(), expected);

    Board noisy(k24C02, size, 0x77, {QStringLiteral("--fault"), QStringLiteral("garbage@1")});
    pointPortAt(noisy.sim().devicePath());
    click(controls().Cmd_WRITE_single);
    QCOMPARE(panel(1), QStringLiteral(" ライトエラー"));
    verifyIdle();
    QCOMPARE(image(), expected);
    QCOMPARE(noisy.partContents(), noisy.initialContents());
}

void TestAccessEmulator::detectionFailuresStopBeforeTheAccess_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("panel1");
    QTest::addColumn<QString>("panel2");
    QTest::addColumn<int>("messages");
    const QStringList fault{QStringLiteral("--fault")};
    QTest::newRow("no answer, read")
        << fault + QStringList{"no-answer"} << false << kCheckFailed + QStringLiteral("【0】")
        << kNotConnected << 0;
    QTest::newRow("identification cut short, write")
        << fault + QStringList{"short-id"} << true << kCheckFailed + QStringLiteral("【16】")
        << kNotConnected << 0;
    QTest::newRow("another board, read")
        << fault + QStringList{"wrong-id"} << false << kCheckFailed << kNotConnected << 0;
    QTest::newRow("another board, write")
        << fault + QStringList{"wrong-id"} << true << kCheckFailed << kNotConnected << 0;
    // Panel 2 names the board that was found; it is not checked here.
    QTest::newRow("firmware 5, read")
        << QStringList{"--firmware", "5.10"} << false << kCheckFailed << QString() << 1;
    QTest::newRow("firmware 5, write")
        << QStringList{"--firmware", "5.10"} << true << kCheckFailed << QString() << 1;
}

// Nothing but the two identification queries reaches a board that fails detection; a Block
// Read has already blanked the image, a Block Write leaves it.
void TestAccessEmulator::detectionFailuresStopBeforeTheAccess()
{
    QFETCH(QStringList, options);
    QFETCH(bool, write);
    QFETCH(QString, panel1);
    QFETCH(QString, panel2);
    QFETCH(int, messages);
    Board board(k24C02, 256, 0, options);
    QVERIFY(board.sim().isRunning());
    pointPortAt(board.sim().devicePath());
    QVERIFY(start());
    selectDevice(k24C02);
    QByteArray expected = pattern(256, 0x42);
    // An image that is not blank, from the part behind a working board.
    {
        Board good(k24C02, 256, 0x42);
        pointPortAt(good.sim().devicePath());
        click(controls().Cmd_READ_all);
        QCOMPARE(image(), expected);
        pointPortAt(board.sim().devicePath());
    }

    click(write ? controls().Cmd_WRITE_all : controls().Cmd_READ_all);
    QCOMPARE(panel(1), panel1);
    if (!panel2.isEmpty()) QCOMPARE(panel(2), panel2);
    verifyIdle();
    QCOMPARE(m_dialogs.messages.size(), messages);
    if (messages > 0) {
        QCOMPARE(m_dialogs.messages.first().text,
                 QStringLiteral("このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
                                "ファームウエアバージョン６以上をご使用ください。"));
    }
    if (!write) expected.fill(static_cast<char>(0xFF));
    QCOMPARE(image(), expected);
    QTRY_COMPARE(board.sim().fromPc(), QByteArray("??"));
    QCOMPARE(board.partContents(), board.initialContents());
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

// The two real 30-second waits of this file: a read and a write whose board falls silent in
// the middle of the transfer.
void TestAccessEmulator::silentBoardsEndTransfersWithTimeOuts()
{
    const int size = 256;
    const int chunk = 8;
    Board reader(k24C02, size, 0, {QStringLiteral("--fault"), QStringLiteral("silence@5")});
    QVERIFY(reader.sim().isRunning());
    pointPortAt(reader.sim().devicePath());
    QVERIFY(start());
    selectDevice(k24C02);
    click(controls().Cmd_READ_all);
    QCOMPARE(panel(1), QStringLiteral("タイムアウト  リードエラー"));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    QByteArray expected(size, static_cast<char>(0xFF));
    expected.replace(0, 5 * chunk, reader.initialContents().left(5 * chunk));
    QCOMPARE(image(), expected);

    Board writer(k24C02, size, 0x21, {QStringLiteral("--fault"), QStringLiteral("silence@3")});
    pointPortAt(writer.sim().devicePath());
    click(controls().Cmd_WRITE_all);
    QCOMPARE(panel(1), QStringLiteral("タイムアウト ライトエラー"));
    verifyIdle();
    QCOMPARE(image(), expected);
    // Three chunks reached the part before the board fell silent.
    QByteArray part = writer.initialContents();
    part.replace(0, 3 * chunk, expected.left(3 * chunk));
    QTRY_COMPARE(writer.partContents(), part);
}

void TestAccessEmulator::wrongReplyStopsWrites()
{
    const int size = 128;
    const int chunk = 16;
    Board board(k93C46, size, 0x10, {QStringLiteral("--fault"), QStringLiteral("wrong-ready@4")});
    QVERIFY(board.sim().isRunning());
    pointPortAt(board.sim().devicePath());
    QVERIFY(start());
    selectDevice(k93C46);
    const QByteArray blank(size, static_cast<char>(0xFF));
    click(controls().Cmd_WRITE_all);
    QCOMPARE(panel(1), QStringLiteral("書き込み中..... ライトエラー"));
    QCOMPARE(panel(2), kConnected);
    verifyIdle();
    QCOMPARE(image(), blank);
    QByteArray part = board.initialContents();
    part.replace(0, 3 * chunk, blank.left(3 * chunk));
    QTRY_COMPARE(board.partContents(), part);
    // The fourth chunk never went out: "??", "E" "e3P", "E" "e3W", two packets, three chunks.
    QCOMPARE(board.sim().fromPc().size(), 2 + 4 + 4 + 2 * 4 + 3 * chunk);
}

// Bytes the board should not have sent: the read takes the first chunk's worth and drops the
// rest before asking for the next chunk, so one chunk is wrong at most and the transfer stays
// in step; a write checks the first byte of the ready answer only.
void TestAccessEmulator::lineNoiseAndExtraBytesInTransfers()
{
    const int size = 256;
    const int chunk = 8;
    QVERIFY(start());
    selectDevice(k24C02);

    {
        Board noisy(k24C02, size, 0, {QStringLiteral("--fault"), QStringLiteral("garbage@3")});
        pointPortAt(noisy.sim().devicePath());
        click(controls().Cmd_READ_all);
        QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
        verifyIdle();
        const QByteArray part = noisy.initialContents();
        QCOMPARE(image().left(2 * chunk), part.left(2 * chunk));
        QVERIFY(image().mid(2 * chunk, chunk) != part.mid(2 * chunk, chunk));
        QCOMPARE(image().mid(3 * chunk), part.mid(3 * chunk));
    }
    {
        Board extra(k24C02, size, 0x64, {QStringLiteral("--fault"), QStringLiteral("extra@2")});
        pointPortAt(extra.sim().devicePath());
        click(controls().Cmd_READ_all);
        QVERIFY2(kReadDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
        QCOMPARE(image(), extra.initialContents());

        Board target(k24C02, size, 0x01, {QStringLiteral("--fault"), QStringLiteral("extra@2")});
        pointPortAt(target.sim().devicePath());
        click(controls().Cmd_WRITE_all);
        QVERIFY2(kWriteDone.match(panel(1)).hasMatch(), qPrintable(panel(1)));
        verifyIdle();
        waitForWrites(target, 1);
        QCOMPARE(target.partContents(), extra.initialContents());
    }
}

// A close during a read is held until the read has stopped at its next wait; the window then
// closes by itself. The board is paced at the line rate, so the read is surely still running.
void TestAccessEmulator::closingTheWindowStopsARunningRead()
{
    Board board(k1Mbit, 131072, 0, {QStringLiteral("--baud"), QStringLiteral("57600")});
    QVERIFY(board.sim().isRunning());
    pointPortAt(board.sim().devicePath());
    QVERIFY(start());
    selectDevice(k1Mbit);
    QSignalSpy unloaded(&window(), &MainWindow::unloaded);
    bool closedWhileRunning = false;
    QStringList enabledWhileRunning;
    const QRegularExpression progress(QStringLiteral("^[1-9][0-9]*%$"));
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [&] {
        // Some of the part has arrived: the board is in the middle of the transfer.
        if (!window().access().running() || !progress.match(panel(3)).hasMatch()) return;
        closer.stop();
        // Nothing that changes the port, the device or the image can be reached meanwhile.
        MainWindowControls& c = controls();
        const QList<QWidget*> heldOff{c.MSFGrid1, c.Cmd_READ_all, c.Cmd_WRITE_single,
                                      c.Frame1,   c.Combo_device, c.CmbSize,
                                      c.Command1, c.Cmd_Open,     c.Cmd_Port};
        for (QWidget* widget : heldOff) {
            if (widget->isEnabled()) enabledWhileRunning.append(widget->objectName());
        }
        for (QAction* action : {c.mnuBufferClear, c.mnuFileOpen, c.mnuToolsOptions}) {
            if (action->isEnabled()) enabledWhileRunning.append(action->objectName());
        }
        closedWhileRunning = !window().close();
    });
    closer.start();
    click(controls().Cmd_READ_all);
    QVERIFY(closedWhileRunning);
    QCOMPARE(enabledWhileRunning, QStringList());
    QVERIFY(!window().serialPort().isOpen());
    QVERIFY(!window().access().running());
    QVERIFY(!kReadDone.match(panel(1)).hasMatch());
    QTRY_COMPARE(unloaded.size(), 1);
    QVERIFY(!window().isVisible());
    QTRY_VERIFY(board.sim().events().contains(QStringLiteral("port closed: transfer abandoned")));
}

QTEST_MAIN(TestAccessEmulator)
#include "tst_AccessEmulator.moc"
