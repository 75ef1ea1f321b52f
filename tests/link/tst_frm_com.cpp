// The port settings window over the real port, its ports pointed at test pseudo-terminals.
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "link/BoardFinder.h"
#include "link/PortDevices.h"
#include "link/PortHolders.h"
#include "link/QtSerialPort.h"
#include "link/gui/FrmCom.h"
#include "link/gui/FrmPortDevice.h"
#include "link/gui/PortSettingsController.h"
#include "link/gui/PortTexts.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"
#include "support/EmulatedBoards.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeLinkClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeUserDialogs.h"
#include "support/HeldDevice.h"
#include "support/ScriptedSerialDevices.h"
#include "support/TestEnvironment.h"
#include "support/TestPty.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace SettingsKeys;
using namespace std::chrono_literals;

namespace {

const QString kAdapterLink = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
const QString kBoardLink = QStringLiteral("usb-Prolific_PL2303_Serial-if00-port0");

}  // namespace

class TestFrmCom : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartOpensPortOneAndAChoiceIsStored();
    void missingDeviceIsToldInTheLabel();
    void deviceThatDoesNotOpenIsReported();
    void heldDeviceIsNotOpened();
    void labelDescribesTheDevice();
    void deviceWindowStoresTheChoice_data();
    void deviceWindowStoresTheChoice();
    void deviceWindowListsTheDevices();
    void detectBoard_data();
    void detectBoard();
    void closingDuringTheSearchEndsIt();
    void storedPortOutsideTheListFallsBackToPortOne_data();
    void storedPortOutsideTheListFallsBackToPortOne();
    void storedLinesAreShownAndStoredAgain();
    void closingLeavesThePortClosedAndStoresTheLines_data();
    void closingLeavesThePortClosedAndStoresTheLines();
    void portButtonAndMenuShowTheWindowModally();
    void notOpenedWhileTheLinkIsBusy();

private:
    // Runs `action` on the modal window as soon as one is shown (within `limit`).
    void whenModalShown(std::function<void(QWidget*)> action, int limit = 20000);
    [[nodiscard]] std::unique_ptr<FrmCom> makeWindow();
    template <typename T>
    [[nodiscard]] T* control(QWidget* window, const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    static void choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    [[nodiscard]] QString stored(const QString& key) const
    {
        return m_settings->get(kSettings, key, QStringLiteral("<missing>"));
    }
    [[nodiscard]] QString storedPort(int number) const
    {
        return m_settings->get(kPorts, portKey(number), QStringLiteral("<missing>"));
    }
    [[nodiscard]] QString deviceLabel(QWidget* window)
    {
        return control<QLabel>(window, "Lbl_PortDevice")->text();
    }
    [[nodiscard]] QString stableLink(const QString& name) const
    {
        return QDir(m_folder.path()).filePath(name);
    }
    // The search's ports in fake time: the board emulated on its line, every other line silent.
    std::unique_ptr<SerialPort> makeSearchPort(const QString& path)
    {
        m_searchPorts.append(path);
        if (path == m_ptyBoard.slavePath()) return std::make_unique<EmulatedPort>(*m_boards);
        return std::make_unique<FakeSerialPort>();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QtSerialPort> m_port;
    FakeUserDialogs m_dialogs;
    TestPty m_pty1;
    TestPty m_pty5;
    TestPty m_ptyBoard;
    QTemporaryDir m_folder;  // the stable links
    ScriptedSerialDevices m_devices;
    PortHolders m_holders;
    FakeLinkClock m_clock;
    std::unique_ptr<EmulatedBoards> m_boards;
    std::unique_ptr<BoardFinder> m_finder;
    QStringList m_searchPorts;
};

void TestFrmCom::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_settings = std::make_unique<SettingsStore>();
    m_port = std::make_unique<QtSerialPort>();
    m_dialogs = FakeUserDialogs();
    QVERIFY(m_pty1.isValid() && m_pty5.isValid());
    // Every port of the list points somewhere known: ports 1 and 5 at test lines, the others
    // at devices that do not exist.
    // Written in one go: the store writes every value through to disk.
    {
        QSettings bulk(ProductInfo::kApplicationTitle, ProductInfo::kApplicationTitle);
        for (int number = 1; number <= 20; ++number) {
            bulk.setValue(kPorts + '/' + portKey(number),
                          QStringLiteral("/nonexistent/tty%1").arg(number));
        }
        bulk.setValue(kPorts + '/' + portKey(1), m_pty1.slavePath());
        bulk.setValue(kPorts + '/' + portKey(5), m_pty5.slavePath());
    }

    // Port 5's line stands in for a USB adapter with a stable link; the board's line is present
    // but no number leads to it.
    QVERIFY(m_ptyBoard.isValid());
    QDir folder(m_folder.path());
    for (const QString& name : folder.entryList(QDir::System | QDir::Files)) folder.remove(name);
    QVERIFY(QFile::link(m_pty5.slavePath(), stableLink(kAdapterLink)));
    QVERIFY(QFile::link(m_ptyBoard.slavePath(), stableLink(kBoardLink)));
    m_devices = ScriptedSerialDevices();
    m_devices.setStableFolder(m_folder.path());
    m_devices.add(m_pty5.slavePath(), "FTDI", "FT232R USB UART", "A50285BI")
        .add(m_ptyBoard.slavePath(), "Prolific Technology Inc.", "USB-Serial Controller");
    m_boards = std::make_unique<EmulatedBoards>(m_clock);
    m_boards->add(m_ptyBoard.slavePath(), EmulatedBoards::part("24C64"));
    m_finder = std::make_unique<BoardFinder>(
        [this](const QString& path) { return makeSearchPort(path); }, m_clock, m_holders);
    m_searchPorts.clear();
}

void TestFrmCom::cleanup()
{
    m_finder.reset();
    m_boards.reset();
    m_port.reset();
    m_settings.reset();
    m_env.reset();
}

void TestFrmCom::whenModalShown(std::function<void(QWidget*)> action, int limit)
{
    auto* timer = new QTimer(this);
    auto* elapsed = new QElapsedTimer;
    elapsed->start();
    connect(timer, &QTimer::timeout, this, [timer, elapsed, action, limit] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && elapsed->elapsed() < limit) return;
        timer->stop();
        timer->deleteLater();
        delete elapsed;
        if (modal) action(modal);
    });
    timer->start(5);
}

std::unique_ptr<FrmCom> TestFrmCom::makeWindow()
{
    auto window = std::make_unique<FrmCom>(*m_port, *m_settings, m_dialogs);
    window->setPortLookup(m_devices, m_holders, *m_finder);
    return window;
}

// The first start's test opens port 1 with the usual lines; choosing item 5 opens port 5 and
// stores 4.
void TestFrmCom::firstStartOpensPortOneAndAChoiceIsStored()
{
    auto window = makeWindow();
    window->Form_Load();
    QCOMPARE(window->objectName(), QStringLiteral("frmCom"));
    QCOMPARE(window->windowTitle(), QStringLiteral("通信設定"));
    QCOMPARE(control<QLabel>(window.get(), "Label1")->text(), QStringLiteral("通信ポート番号"));
    QCOMPARE(control<QGroupBox>(window.get(), "Frame1")->title(),
             QStringLiteral("通信ができないとき変更してみてください。"));
    QCOMPARE(control<QCheckBox>(window.get(), "CheckDTR")->text(),
             QStringLiteral("DTR (通常チェック無し)"));
    QCOMPARE(control<QCheckBox>(window.get(), "CheckRTS")->text(),
             QStringLiteral("RTS (通常チェック有り)"));
    QCOMPARE(control<QLabel>(window.get(), "LabelDSR")->text(), QStringLiteral("DSR"));
    QCOMPARE(control<QLabel>(window.get(), "LabelCTS")->text(), QStringLiteral("CTS"));
    QCOMPARE(control<QPushButton>(window.get(), "Cmd_Close")->text(), QStringLiteral("閉じる"));
    QCOMPARE(control<QPushButton>(window.get(), "Cmd_PortDevice")->text(),
             QStringLiteral("デバイス..."));
    QCOMPARE(control<QPushButton>(window.get(), "Cmd_DetectBoard")->text(),
             QStringLiteral("ボード検出"));
    QVERIFY(control<QLabel>(window.get(), "Lbl_PortDevice"));
    auto* list = control<QComboBox>(window.get(), "Cmb_com");
    QCOMPARE(list->count(), 20);
    for (int i = 0; i < 20; ++i) QCOMPARE(list->itemText(i), QString::number(i + 1));

    QCOMPARE(list->currentIndex(), 0);
    QVERIFY(control<QCheckBox>(window.get(), "CheckRTS")->isChecked());
    QVERIFY(!control<QCheckBox>(window.get(), "CheckDTR")->isChecked());
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_port->portNumber(), 1);
    QCOMPARE(stored(kComNo), QStringLiteral("0"));
    QCOMPARE(stored(kRts), QStringLiteral("1"));
    m_port->write("?");
    QCOMPARE(m_pty1.receive(1), QByteArray("?"));

    // Loading again fills the list afresh.
    window->Form_Load();
    QCOMPARE(list->count(), 20);

    choose(list, 4);
    QCOMPARE(stored(kComNo), QStringLiteral("4"));
    QCOMPARE(m_port->portNumber(), 5);
    QVERIFY(m_port->isOpen());
    m_port->write("?");
    QCOMPARE(m_pty5.receive(1), QByteArray("?"));
    QCOMPARE(m_pty1.receiveAvailable(), QByteArray());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestFrmCom::missingDeviceIsToldInTheLabel()
{
    auto window = makeWindow();
    window->Form_Load();
    QVERIFY(m_port->isOpen());
    choose(control<QComboBox>(window.get(), "Cmb_com"), 6);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(deviceLabel(window.get()),
             QStringLiteral("/nonexistent/tty7（設定 [Ports] COM7）\n") + PortTexts::kMissing);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(stored(kComNo), QStringLiteral("6"));
    // The next showing tries the stored port again, and tells in the label again.
    window->close();
    auto again = makeWindow();
    again->Form_Load();
    QCOMPARE(control<QComboBox>(again.get(), "Cmb_com")->currentIndex(), 6);
    QVERIFY(deviceLabel(again.get()).endsWith(PortTexts::kMissing));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestFrmCom::deviceThatDoesNotOpenIsReported()
{
    // Something is there, but it is no serial line.
    const QString notATty = QDir(m_folder.path()).filePath(QStringLiteral("not-a-tty"));
    QFile file(notATty);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_settings->save(kPorts, portKey(6), notATty);
    auto window = makeWindow();
    window->Form_Load();
    choose(control<QComboBox>(window.get(), "Cmb_com"), 5);
    QCOMPARE(m_dialogs.messages.size(), 1);
    const MessageBoxRequest& message = m_dialogs.messages.first();
    QCOMPARE(message.text, QStringLiteral("指定した通信ポートは使用できませんでした。"));
    QCOMPARE(message.title, ProductInfo::kApplicationTitle);
    QCOMPARE(message.icon, MessageIcon::Critical);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QVERIFY2(message.detail.startsWith(QStringLiteral("COM6 (%1): ").arg(notATty)),
             qPrintable(message.detail));
    QVERIFY(!m_port->isOpen());
    const QStringList lines = deviceLabel(window.get()).split('\n');
    QCOMPARE(lines.first(), QStringLiteral("%1（設定 [Ports] COM6）").arg(notATty));
    QVERIFY2(lines.last().startsWith(QStringLiteral("開けません: ")), qPrintable(lines.last()));
    QVERIFY(!lines.last().contains(QStringLiteral("COM6 (")));
    QCOMPARE(stored(kComNo), QStringLiteral("5"));

    // Showing the window again says it in the label only.
    window->close();
    auto again = makeWindow();
    again->Form_Load();
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(deviceLabel(again.get()), lines.join('\n'));
}

void TestFrmCom::heldDeviceIsNotOpened()
{
    auto window = makeWindow();
    window->Form_Load();
    HeldDevice other(m_pty5.slavePath());
    QVERIFY(other.isHolding());
    choose(control<QComboBox>(window.get(), "Cmb_com"), 4);
    QVERIFY(!m_port->isOpen());
    const QString holder = QStringLiteral("sleep (PID %1)").arg(other.pid());
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY2(m_dialogs.messages.first().detail.startsWith(
                 QStringLiteral("COM5 (%1): %2").arg(m_pty5.slavePath(), holder)),
             qPrintable(m_dialogs.messages.first().detail));
    QVERIFY(m_dialogs.messages.first().detail.contains(QStringLiteral("他のプログラムが使用中")));
    QVERIFY(deviceLabel(window.get()).endsWith(PortTexts::kHeld.arg(holder)));
    QCOMPARE(stored(kComNo), QStringLiteral("4"));
}

void TestFrmCom::labelDescribesTheDevice()
{
    m_settings->save(kPorts, portKey(5), stableLink(kAdapterLink));
    m_settings->save(kSettings, kComNo, QStringLiteral("4"));
    auto window = makeWindow();
    window->Form_Load();
    QVERIFY(m_port->isOpen());
    QCOMPARE(deviceLabel(window.get()),
             QStringLiteral("%1 → %2（設定 [Ports] COM5）\n"
                            "FTDI  FT232R USB UART  シリアル番号 A50285BI\n"
                            "使用できます。")
                 .arg(stableLink(kAdapterLink), m_pty5.slavePath()));
    // The numbers whose device is there are bold; every item keeps its number and tells its
    // device when pointed at.
    auto* list = control<QComboBox>(window.get(), "Cmb_com");
    QList<int> bold;
    for (int i = 0; i < list->count(); ++i) {
        QCOMPARE(list->itemText(i), QString::number(i + 1));
        const QVariant font = list->itemData(i, Qt::FontRole);
        if (font.isValid() && font.value<QFont>().bold()) bold.append(i + 1);
    }
    QCOMPARE(bold, (QList<int>{1, 5}));
    QVERIFY(list->itemData(0, Qt::ToolTipRole).toString().startsWith(m_pty1.slavePath()));
    QVERIFY(list->itemData(4, Qt::ToolTipRole).toString().contains(QStringLiteral("A50285BI")));
}

void TestFrmCom::deviceWindowStoresTheChoice_data()
{
    QTest::addColumn<QString>("chosen");    // "cancel", or a path with ADAPTER/BOARD for the lines
    QTest::addColumn<QString>("expected");  // what [Ports] COM1 holds afterwards
    QTest::newRow("an adapter by its node") << "ADAPTER"
                                            << "ADAPTER-LINK";
    QTest::newRow("a stable link") << "BOARD-LINK"
                                   << "BOARD-LINK";
    QTest::newRow("a typed path") << "  /dev/ttyACM7 "
                                  << "/dev/ttyACM7";
    QTest::newRow("emptied: the usual device") << ""
                                               << "";
    QTest::newRow("cancelled") << "cancel"
                               << "PTY1";
}

void TestFrmCom::deviceWindowStoresTheChoice()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    const auto paths = [this](QString text) {
        return text.replace("ADAPTER-LINK", stableLink(kAdapterLink))
            .replace("BOARD-LINK", stableLink(kBoardLink))
            .replace("ADAPTER", m_pty5.slavePath())
            .replace("PTY1", m_pty1.slavePath());
    };
    auto window = makeWindow();
    window->Form_Load();
    int calls = 0;
    window->setDeviceChooser([&](int portNumber, const QList<SerialDevice>& devices,
                                 const QStringList& held,
                                 const QString& currentPath) -> std::optional<QString> {
        ++calls;
        // The window's own test-opened port is closed while the list is shown.
        if (m_port->isOpen()) return QStringLiteral("port left open");
        if (portNumber != 1 || devices.size() != 2 || held != QStringList{"", ""} ||
            currentPath != m_pty1.slavePath() || devices.first().stablePath.isEmpty()) {
            return QStringLiteral("unexpected arguments");
        }
        if (chosen == "cancel") return std::nullopt;
        return paths(chosen);
    });
    QTest::mouseClick(control<QPushButton>(window.get(), "Cmd_PortDevice"), Qt::LeftButton);
    QCOMPARE(calls, 1);
    QCOMPARE(storedPort(1), paths(expected));
    QCOMPARE(stored(kComNo), QStringLiteral("0"));
    QCOMPARE(m_port->devicePath(), PortDevices(*m_settings).devicePath(1));
    if (expected.isEmpty()) {
        QCOMPARE(m_port->devicePath(), QStringLiteral("/dev/ttyUSB0"));
    } else if (expected != "/dev/ttyACM7") {
        QVERIFY(m_port->isOpen());
        QVERIFY(m_dialogs.messages.isEmpty());
    }
}

void TestFrmCom::deviceWindowListsTheDevices()
{
    const QList<SerialDevice> devices = m_devices.present();
    FrmPortDevice window(3, devices, {QString(), QStringLiteral("minicom (PID 7)")},
                         stableLink(kAdapterLink));
    QCOMPARE(window.objectName(), QStringLiteral("frmPortDevice"));
    QCOMPARE(window.windowTitle(), QStringLiteral("通信ポート 3 のデバイス"));
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("Lst_Device"));
    auto* path = window.findChild<QLineEdit*>(QStringLiteral("Text_Path"));
    QVERIFY(list && path);
    QStringList headers;
    for (int column = 0; column < list->columnCount(); ++column) {
        headers.append(list->headerItem()->text(column));
    }
    QCOMPARE(headers,
             (QStringList{"デバイス", "製造元", "製品", "シリアル番号", "固定パス", "状態"}));
    QCOMPARE(list->topLevelItemCount(), 2);
    const int adapterRow = devices.first().path == m_pty5.slavePath() ? 0 : 1;
    const int boardRow = 1 - adapterRow;
    QTreeWidgetItem* adapter = list->topLevelItem(adapterRow);
    QCOMPARE(adapter->text(0), m_pty5.slavePath());
    QCOMPARE(adapter->text(1), QStringLiteral("FTDI"));
    QCOMPARE(adapter->text(2), QStringLiteral("FT232R USB UART"));
    QCOMPARE(adapter->text(3), QStringLiteral("A50285BI"));
    QCOMPARE(adapter->text(4), stableLink(kAdapterLink));
    QCOMPARE(list->topLevelItem(1)->text(5), QStringLiteral("使用中: minicom (PID 7)"));
    // The number's device is the current row, its path in the field.
    QCOMPARE(list->currentItem(), adapter);
    QCOMPARE(window.path(), stableLink(kAdapterLink));

    list->setCurrentItem(list->topLevelItem(boardRow));
    QCOMPARE(window.path(), stableLink(kBoardLink));
    path->setText(QStringLiteral("  /dev/ttyS1 "));
    QCOMPARE(window.path(), QStringLiteral("/dev/ttyS1"));

    FrmPortDevice empty(1, {}, {}, QString());
    auto* emptyList = empty.findChild<QTreeWidget*>(QStringLiteral("Lst_Device"));
    QCOMPARE(emptyList->topLevelItemCount(), 1);
    QCOMPARE(emptyList->topLevelItem(0)->text(0), PortTexts::kNoDeviceRows);
    QCOMPARE(emptyList->topLevelItem(0)->flags(), Qt::NoItemFlags);
}

void TestFrmCom::detectBoard_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("board found") << "found";
    QTest::newRow("board on the chosen number") << "chosen";
    QTest::newRow("no board") << "none";
    QTest::newRow("declined") << "declined";
}

void TestFrmCom::detectBoard()
{
    QFETCH(QString, how);
    if (how == "none") m_devices.devices.removeLast();  // the board's line is not there
    if (how == "chosen") m_settings->save(kPorts, portKey(5), m_ptyBoard.slavePath());
    m_settings->save(kSettings, kComNo, QStringLiteral("4"));
    auto window = makeWindow();
    window->Form_Load();
    QVERIFY(m_port->isOpen());
    if (how == "declined") m_dialogs.messageAnswers.append(MessageAnswer::Cancel);
    QTest::mouseClick(control<QPushButton>(window.get(), "Cmd_DetectBoard"), Qt::LeftButton);

    QVERIFY(!m_dialogs.messages.isEmpty());
    const MessageBoxRequest& question = m_dialogs.messages.first();
    QCOMPARE(question.text,
             QStringLiteral("接続されているシリアル機器に問い合わせを送ります。よろしいですか？"));
    QCOMPARE(question.icon, MessageIcon::Question);
    QCOMPARE(question.buttons, MessageButtons::OkCancel);

    if (how == "declined") {
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_searchPorts.isEmpty());
        QVERIFY(m_port->isOpen());
        QCOMPARE(stored(kComNo), QStringLiteral("4"));
        return;
    }
    if (how == "none") {
        // Every line asked once, the chosen number's first; each one silent.
        QCOMPARE(m_searchPorts, (QStringList{m_pty5.slavePath(), m_pty1.slavePath()}));
        QCOMPARE(m_dialogs.messages.size(), 2);
        const MessageBoxRequest& none = m_dialogs.messages.last();
        QCOMPARE(none.text, QStringLiteral("ボードは見つかりませんでした。"));
        QCOMPARE(none.icon, MessageIcon::Information);
        QVERIFY2(none.detail.startsWith(QStringLiteral("COM5 %1: 応答なし\nCOM1 %2: 応答なし\n")
                                            .arg(m_pty5.slavePath(), m_pty1.slavePath())),
                 qPrintable(none.detail));
        QCOMPARE(stored(kComNo), QStringLiteral("4"));
        QCOMPARE(storedPort(5), m_pty5.slavePath());
        QVERIFY(m_port->isOpen());
        QCOMPARE(m_port->devicePath(), m_pty5.slavePath());
        return;
    }
    if (how == "chosen") {
        // Asked first; the number keeps the board, now by its stable link.
        QCOMPARE(m_searchPorts, QStringList{m_ptyBoard.slavePath()});
        QCOMPARE(storedPort(5), stableLink(kBoardLink));
        QCOMPARE(stored(kComNo), QStringLiteral("4"));
        QCOMPARE(m_port->devicePath(), stableLink(kBoardLink));
        QVERIFY(m_port->isOpen());
        QVERIFY(deviceLabel(window.get())
                    .endsWith(QStringLiteral("ボードを検出しました: QZ-PGM Ver 6.00")));
        return;
    }
    // The board's line got the first number that led nowhere, by its stable link, and is the
    // chosen port now.
    QCOMPARE(m_searchPorts,
             (QStringList{m_pty5.slavePath(), m_pty1.slavePath(), m_ptyBoard.slavePath()}));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(storedPort(2), stableLink(kBoardLink));
    QCOMPARE(stored(kComNo), QStringLiteral("1"));
    QCOMPARE(control<QComboBox>(window.get(), "Cmb_com")->currentIndex(), 1);
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_port->devicePath(), stableLink(kBoardLink));
    QCOMPARE(deviceLabel(window.get()),
             QStringLiteral("%1 → %2（設定 [Ports] COM2）\n"
                            "Prolific Technology Inc.  USB-Serial Controller\n"
                            "使用できます。\n"
                            "ボードを検出しました: QZ-PGM Ver 6.00")
                 .arg(stableLink(kBoardLink), m_ptyBoard.slavePath()));
    QCOMPARE(m_boards->at(m_ptyBoard.slavePath())->fromPc(), QByteArray("??"));
}

void TestFrmCom::closingDuringTheSearchEndsIt()
{
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    m_clock.after(300ms, [&] { window->close(); });
    QTest::mouseClick(control<QPushButton>(window.get(), "Cmd_DetectBoard"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_searchPorts, QStringList{m_pty1.slavePath()});
    QVERIFY(m_boards->at(m_ptyBoard.slavePath())->fromPc().isEmpty());
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(stored(kComNo), QStringLiteral("0"));
    QCOMPARE(stored(kRts), QStringLiteral("1"));
}

void TestFrmCom::storedPortOutsideTheListFallsBackToPortOne_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("past the list") << "20";
    QTest::newRow("negative") << "-1";
    QTest::newRow("not a number") << "COM3";
    QTest::newRow("empty") << "";
}

void TestFrmCom::storedPortOutsideTheListFallsBackToPortOne()
{
    QFETCH(QString, value);
    m_settings->save(kSettings, kComNo, value);
    auto window = makeWindow();
    window->Form_Load();
    QCOMPARE(control<QComboBox>(window.get(), "Cmb_com")->currentIndex(), 0);
    QCOMPARE(stored(kComNo), QStringLiteral("0"));
    QVERIFY(m_port->isOpen());
}

void TestFrmCom::storedLinesAreShownAndStoredAgain()
{
    m_settings->save(kSettings, kComNo, QStringLiteral("4"));
    m_settings->save(kSettings, kRts, QStringLiteral("0"));
    m_settings->save(kSettings, kDtr, QStringLiteral("2"));
    auto window = makeWindow();
    window->Form_Load();
    QCOMPARE(control<QComboBox>(window.get(), "Cmb_com")->currentIndex(), 4);
    QVERIFY(!control<QCheckBox>(window.get(), "CheckRTS")->isChecked());
    QVERIFY(control<QCheckBox>(window.get(), "CheckDTR")->isChecked());
    QCOMPARE(stored(kDtr), QStringLiteral("1"));
    // Closing without a change stores the same values again.
    window->show();
    QTest::mouseClick(control<QPushButton>(window.get(), "Cmd_Close"), Qt::LeftButton);
    QCOMPARE(stored(kComNo), QStringLiteral("4"));
    QCOMPARE(stored(kRts), QStringLiteral("0"));
    QCOMPARE(stored(kDtr), QStringLiteral("1"));
}

void TestFrmCom::closingLeavesThePortClosedAndStoresTheLines_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << "button";
    QTest::newRow("title bar") << "close";
    QTest::newRow("Esc") << "escape";
}

void TestFrmCom::closingLeavesThePortClosedAndStoresTheLines()
{
    QFETCH(QString, how);
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    QVERIFY(m_port->isOpen());
    QTest::mouseClick(control<QCheckBox>(window.get(), "CheckRTS"), Qt::LeftButton);
    QCOMPARE(stored(kRts), QStringLiteral("0"));
    QTest::mouseClick(control<QCheckBox>(window.get(), "CheckDTR"), Qt::LeftButton);
    QCOMPARE(stored(kDtr), QStringLiteral("1"));
    // The lines of the open port are left alone until the next opening.
    QVERIFY(m_port->isOpen());
    m_settings->save(kSettings, kRts, QStringLiteral("9"));
    m_settings->save(kSettings, kDtr, QStringLiteral("9"));

    if (how == "button") {
        QTest::mouseClick(control<QPushButton>(window.get(), "Cmd_Close"), Qt::LeftButton);
    } else if (how == "close") {
        window->close();
    } else {
        QTest::keyClick(window.get(), Qt::Key_Escape);
    }
    QVERIFY(!window->isVisible());
    QVERIFY(!m_port->isOpen());
    QCOMPARE(stored(kRts), QStringLiteral("0"));
    QCOMPARE(stored(kDtr), QStringLiteral("1"));
}

void TestFrmCom::portButtonAndMenuShowTheWindowModally()
{
    ProgramState state;
    FakeDesktopOpener desktop;
    MainWindow mainWindow(AppServices{state, *m_settings, m_dialogs, desktop});
    QCOMPARE(mainWindow.serialPort().objectName(), QStringLiteral("MSComm1"));
    QCOMPARE(mainWindow.findChildren<SerialPort*>().size(), 1);

    for (int round = 0; round < 2; ++round) {
        QString seen;
        bool portOpenWhileShown = false;
        whenModalShown([&](QWidget* modal) {
            seen = modal->objectName();
            portOpenWhileShown = mainWindow.serialPort().isOpen();
            modal->close();
        });
        if (round == 0) {
            mainWindow.controls().Cmd_Port->click();
        } else {
            mainWindow.controls().mnuToolsOptions->trigger();
        }
        QCOMPARE(seen, QStringLiteral("frmCom"));
        QVERIFY(portOpenWhileShown);
        QVERIFY(!mainWindow.serialPort().isOpen());
    }
}

void TestFrmCom::notOpenedWhileTheLinkIsBusy()
{
    ProgramState state;
    FakeDesktopOpener desktop;
    MainWindow mainWindow(AppServices{state, *m_settings, m_dialogs, desktop});
    mainWindow.portSettings().setBusyCheck([] { return true; });
    bool shown = false;
    whenModalShown(
        [&](QWidget* modal) {
            shown = true;
            modal->close();
        },
        200);
    mainWindow.controls().Cmd_Port->click();
    QTest::qWait(300);
    QVERIFY(!shown);
    QCOMPARE(stored(kComNo), QStringLiteral("<missing>"));
}

QTEST_MAIN(TestFrmCom)
#include "tst_frm_com.moc"
