// The main window on a small screen (1280x720, the offscreen screen of this test): on the
// screen whatever position was stored, the status bar in sight, every shipped part's note
// whole in status panel 4, and the insertion-direction window off the controls.
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "app/gui/StatusBarPanels.h"
#include "base/SettingsStore.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/gui/AuxiliaryWindows.h"
#include "ui/gui/BoardWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QtTest>

using namespace SettingsKeys;

namespace {

QRect globalRect(const QWidget* widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// The label shows `text` whole: its contents hold the text and QLabel's indent.
bool showsWhole(const QLabel* label, const QString& text)
{
    const QFontMetrics metrics = label->fontMetrics();
    const int indent = metrics.horizontalAdvance(QLatin1Char('x')) / 2;
    return label->contentsRect().width() >= metrics.horizontalAdvance(text) + indent;
}

}  // namespace

class MainWindowFitTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        m_dialogs = FakeUserDialogs();
    }
    void cleanup()
    {
        m_startup.reset();
        m_environment.reset();
    }

    void everyShippedNoteIsShownWhole();
    void longPortAndAddressTextsAreShownWhole();
    void storedPositionEndsOnTheScreen_data();
    void storedPositionEndsOnTheScreen();
    void boardWindowKeepsOffTheControls();

private:
    MainWindow& start()
    {
        m_startup = std::make_unique<Startup>(Startup::Environment{
            m_environment->appFolder(), m_environment->lockFilePath(), &m_dialogs, &m_desktop});
        if (!m_startup->run()) qFatal("start-up failed");
        return *m_startup->mainWindow();
    }
    [[nodiscard]] static QRect available()
    {
        return QGuiApplication::primaryScreen()->availableGeometry();
    }

    std::unique_ptr<TestEnvironment> m_environment;
    FakeUserDialogs m_dialogs;
    FakeDesktopOpener m_desktop;
    std::unique_ptr<Startup> m_startup;
};

void MainWindowFitTest::everyShippedNoteIsShownWhole()
{
    MainWindow& window = start();
    const QSize defaultSize = window.size();
    MainWindowControls& c = window.controls();
    QLabel* panel4 = c.statusPanels[3];
    const DeviceCatalogue& catalogue = m_startup->state().catalogue;
    QVERIFY(catalogue.size() >= 32);
    for (int i = 0; i < catalogue.size(); ++i) {
        c.Combo_device->setCurrentIndex(i);
        c.sbStatusBar->layout()->activate();
        const QString note = catalogue.record(i).field(DeviceRecord::StatusNote);
        const QString name = catalogue.record(i).field(DeviceRecord::ListName);
        QCOMPARE(panel4->text(), note);
        QCOMPARE(panel4->toolTip(), note);
        QVERIFY2(showsWhole(panel4, note), qPrintable(name));
        // At the window's default size, without making it wider.
        QCOMPARE(window.size(), defaultSize);
        QVERIFY2(c.sbStatusBar->rect().contains(panel4->geometry()), qPrintable(name));
        // Panel 1 keeps room for its texts.
        QVERIFY2(c.statusPanels[0]->width() >= 200, qPrintable(name));
    }
}

void MainWindowFitTest::longPortAndAddressTextsAreShownWhole()
{
    MainWindow& window = start();
    MainWindowControls& c = window.controls();
    c.Combo_device->setCurrentIndex(m_startup->state().catalogue.indexOf("AT24C1024"));
    const QString port = QStringLiteral("COM20 : ライター未接続");
    const QString address = QStringLiteral("ADDRESS:131071");
    window.statusPanels().setText(2, port);
    window.statusPanels().setText(3, address);
    const QString message =
        QStringLiteral("読み込みを中止しました。ポートの接続を確認してください。");
    window.statusPanels().setText(1, message);
    c.sbStatusBar->layout()->activate();
    QVERIFY(showsWhole(c.statusPanels[1], port));
    QVERIFY(showsWhole(c.statusPanels[2], address));
    QVERIFY(showsWhole(c.statusPanels[3], c.statusPanels[3]->text()));
    QCOMPARE(c.statusPanels[0]->toolTip(), message);
    // Panel 3 keeps its width while the address changes.
    const int width = c.statusPanels[2]->width();
    window.statusPanels().setText(3, QStringLiteral("ADDRESS:0"));
    QCOMPARE(c.statusPanels[2]->width(), width);
}

void MainWindowFitTest::storedPositionEndsOnTheScreen_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::addColumn<bool>("stays");
    QTest::newRow("where it fits") << "1000"
                                   << "300" << true;
    // The first run's place, 1000 twips from the top, leaves too little room below.
    QTest::newRow("first run") << QString() << QString() << false;
    QTest::newRow("left of the screen") << "-15000"
                                        << "1000" << false;
    QTest::newRow("a monitor that has gone") << "40000"
                                             << "20000" << false;
    QTest::newRow("above the screen") << "1000"
                                      << "-3000" << false;
    QTest::newRow("too low for the status bar") << "1000"
                                                << "6000" << false;
}

void MainWindowFitTest::storedPositionEndsOnTheScreen()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QFETCH(bool, stays);
    SettingsStore settings;
    if (!left.isEmpty()) settings.save(kSettings, kMainLeft, left);
    if (!top.isEmpty()) settings.save(kSettings, kMainTop, top);
    MainWindow& window = start();
    const QRect frame = window.frameGeometry();
    QVERIFY2(available().contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                         .arg(frame.x())
                                                         .arg(frame.y())
                                                         .arg(frame.width())
                                                         .arg(frame.height())));
    QVERIFY(available().contains(globalRect(window.controls().sbStatusBar)));
    if (stays) QCOMPARE(window.pos(), QPoint(67, 20));  // 1000 and 300 twips at 96 dpi
}

void MainWindowFitTest::boardWindowKeepsOffTheControls()
{
    MainWindow& window = start();
    BoardWindow* board = m_startup->auxiliaryWindows()->boardWindow();
    QVERIFY(board && board->isVisible());
    QVERIFY(available().contains(board->frameGeometry()));
    MainWindowControls& c = window.controls();
    const QList<QWidget*> controls{c.Combo_device, c.Frame2,   c.Frame3,   c.Frame1,
                                   c.Frame4,       c.Cmd_Open, c.Cmd_Port, c.sbStatusBar};
    for (QWidget* control : controls) {
        QVERIFY2(!board->frameGeometry().intersects(globalRect(control)),
                 qPrintable(control->objectName()));
    }
}

QTEST_MAIN(MainWindowFitTest)
#include "tst_main_window_fit.moc"
