// The port settings window over the real port, its ports pointed at test pseudo-terminals.
#include "app/AppServices.h"
#include "app/ProgramState.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "link/PortDevices.h"
#include "link/QtSerialPort.h"
#include "link/gui/FrmCom.h"
#include "link/gui/PortSettingsController.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestPty.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace SettingsKeys;

class TestFrmCom : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsItsControls();
    void firstStartTestOpensPortOne();
    void choosingItemFiveStoresFour();
    void unusablePortIsReportedAndKept();
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

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QtSerialPort> m_port;
    FakeUserDialogs m_dialogs;
    TestPty m_pty1;
    TestPty m_pty5;
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
    for (int number = 1; number <= 20; ++number) {
        m_settings->save(kPorts, portKey(number), QStringLiteral("/nonexistent/tty%1").arg(number));
    }
    m_settings->save(kPorts, portKey(1), m_pty1.slavePath());
    m_settings->save(kPorts, portKey(5), m_pty5.slavePath());
}

void TestFrmCom::cleanup()
{
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
    return std::make_unique<FrmCom>(*m_port, *m_settings, m_dialogs);
}

void TestFrmCom::showsItsControls()
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
    auto* list = control<QComboBox>(window.get(), "Cmb_com");
    QCOMPARE(list->count(), 20);
    for (int i = 0; i < 20; ++i) QCOMPARE(list->itemText(i), QString::number(i + 1));
    // Loading again fills the list afresh.
    window->Form_Load();
    QCOMPARE(list->count(), 20);
}

void TestFrmCom::firstStartTestOpensPortOne()
{
    auto window = makeWindow();
    window->Form_Load();
    QCOMPARE(control<QComboBox>(window.get(), "Cmb_com")->currentIndex(), 0);
    QVERIFY(control<QCheckBox>(window.get(), "CheckRTS")->isChecked());
    QVERIFY(!control<QCheckBox>(window.get(), "CheckDTR")->isChecked());
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_port->portNumber(), 1);
    QCOMPARE(stored(kComNo), QStringLiteral("0"));
    QCOMPARE(stored(kRts), QStringLiteral("1"));
    QVERIFY(m_dialogs.messages.isEmpty());
    // The open port is the test line.
    m_port->write("?");
    QCOMPARE(m_pty1.receive(1), QByteArray("?"));
}

void TestFrmCom::choosingItemFiveStoresFour()
{
    auto window = makeWindow();
    window->Form_Load();
    choose(control<QComboBox>(window.get(), "Cmb_com"), 4);
    QCOMPARE(stored(kComNo), QStringLiteral("4"));
    QCOMPARE(m_port->portNumber(), 5);
    QVERIFY(m_port->isOpen());
    m_port->write("?");
    QCOMPARE(m_pty5.receive(1), QByteArray("?"));
    QCOMPARE(m_pty1.receiveAvailable(), QByteArray());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestFrmCom::unusablePortIsReportedAndKept()
{
    auto window = makeWindow();
    window->Form_Load();
    QVERIFY(m_port->isOpen());
    choose(control<QComboBox>(window.get(), "Cmb_com"), 6);
    QCOMPARE(m_dialogs.messages.size(), 1);
    const MessageBoxRequest& message = m_dialogs.messages.first();
    QCOMPARE(message.text, QStringLiteral("指定した通信ポートは使用できませんでした。"));
    QCOMPARE(message.title, ProductInfo::kApplicationTitle);
    QCOMPARE(message.icon, MessageIcon::Critical);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QVERIFY2(message.detail.contains(QStringLiteral("COM7 (/nonexistent/tty7)")),
             qPrintable(message.detail));
    QVERIFY(!m_port->isOpen());
    QCOMPARE(stored(kComNo), QStringLiteral("6"));
    // The next showing tries the stored port again.
    window->close();
    auto again = makeWindow();
    again->Form_Load();
    QCOMPARE(control<QComboBox>(again.get(), "Cmb_com")->currentIndex(), 6);
    QCOMPARE(m_dialogs.messages.size(), 2);
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
#include "tst_FrmCom.moc"
