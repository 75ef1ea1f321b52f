#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/ProductInfo.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/gui/AboutWindow.h"
#include "ui/gui/ApplicationSetup.h"
#include "ui/gui/AuxiliaryWindows.h"
#include "ui/gui/BoardWindow.h"
#include "ui/gui/SplashWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLockFile>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QString labelText(const QWidget* window, const QString& name)
{
    const auto* label = window->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

QWidget* topLevel(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) return widget;
    }
    return nullptr;
}

// Runs the deferred deletions that closing a window with WA_DeleteOnClose leaves behind.
void discardClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class AuxiliaryWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startupEndsWithBoardShownAndSplashHidden();
    void splashShowsTitleAndVersion();
    void keyPressClosesSplashAndStartupGoesOn();
    void clickOnFrameClosesSplash();
    void secondInstanceEndsAfterSplashIsShown();
    void aboutWindowAtFirstAndLaterOpenings();
    void supportButtonOpensSupportPage_data();
    void supportButtonOpensSupportPage();
    void shippedManualHasTheSupportPage();
    void boardToggleHidesThenShowsAlsoAfterTheCloseBox();
    void helpContentsWithoutManual();
    void hiddenMenuEntriesStayHidden();
    void qtStandardTextsInJapanese();

private:
    bool start();
    [[nodiscard]] QString storedBoardSetting() const;
    AuxiliaryWindows& windows() { return *m_startup->auxiliaryWindows(); }
    MainWindowControls& controls() { return m_startup->mainWindow()->controls(); }

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<FakeUserDialogs> m_dialogs;
    std::unique_ptr<FakeDesktopOpener> m_desktop;
    std::unique_ptr<Startup> m_startup;
};

void AuxiliaryWindowsTest::init()
{
    m_environment = std::make_unique<TestEnvironment>();
    m_dialogs = std::make_unique<FakeUserDialogs>();
    m_desktop = std::make_unique<FakeDesktopOpener>();
    Startup::Environment environment;
    environment.appFolder = m_environment->appFolder();
    environment.lockFilePath = m_environment->lockFilePath();
    environment.dialogs = m_dialogs.get();
    environment.desktop = m_desktop.get();
    m_startup = std::make_unique<Startup>(environment);
}

void AuxiliaryWindowsTest::cleanup()
{
    m_startup.reset();
    discardClosedWindows();
    m_desktop.reset();
    m_dialogs.reset();
    m_environment.reset();
}

bool AuxiliaryWindowsTest::start()
{
    const bool started = m_startup->run();
    discardClosedWindows();
    return started;
}

QString AuxiliaryWindowsTest::storedBoardSetting() const
{
    QSettings settings(QStringLiteral("VORLE"), QStringLiteral("VORLE"));
    return settings.value(QStringLiteral("Settings6/mnuBoardInfomation"), "<absent>").toString();
}

void AuxiliaryWindowsTest::startupEndsWithBoardShownAndSplashHidden()
{
    QVERIFY(start());
    QVERIFY(m_startup->mainWindow()->isVisible());
    // On this test's 1920x1080 screen there is room beside the main window.
    const QRect main = m_startup->mainWindow()->frameGeometry();
    const QRect board = windows().boardWindow()->frameGeometry();
    QVERIFY(!board.intersects(main));
    QCOMPARE(board.top(), main.top());
    QVERIFY(board.left() > main.right());
    QVERIFY(m_startup->splashWindow());
    QVERIFY(!m_startup->splashWindow()->isVisible());
    QVERIFY(controls().mnuBoardInfomation->isChecked());
    QVERIFY(windows().boardWindow());
    QVERIFY(windows().boardWindow()->isVisible());
    QCOMPARE(windows().boardWindow()->windowTitle(), QStringLiteral("インデックス情報"));
    // Start-up only shows the window; nothing is stored until the entry is used.
    QCOMPARE(storedBoardSetting(), QStringLiteral("<absent>"));
    QVERIFY(m_dialogs->messages.isEmpty());
}

void AuxiliaryWindowsTest::splashShowsTitleAndVersion()
{
    SplashWindow splash;
    QCOMPARE(labelText(&splash, "lblProductName(0)"), QStringLiteral("VORLE"));
    QCOMPARE(labelText(&splash, "lblProductNameA"), QStringLiteral("VORLE"));
    QCOMPARE(labelText(&splash, "lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 6.2.13"));
    QCOMPARE(labelText(&splash, "Label2"), QStringLiteral("シリアルＥＥＰＲＯＭプログラマー"));
    QCOMPARE(labelText(&splash, "Label1"), QStringLiteral("しばらくお待ちください。"));
    for (const char* maker : {"lblCompany", "lblCopyright", "Label3"}) {
        QVERIFY2(labelText(&splash, maker).contains(ProductInfo::kMakerName), qPrintable(maker));
    }
    QVERIFY(splash.findChild<QWidget*>("imgLogo"));
}

void AuxiliaryWindowsTest::keyPressClosesSplashAndStartupGoesOn()
{
    bool pressed = false;
    // Runs at start-up's first pass through the event queue, while the splash is up.
    QTimer::singleShot(0, this, [&] {
        QWidget* splash = topLevel("frmSplash");
        QVERIFY(splash && splash->isVisible());
        QTest::keyClick(splash, Qt::Key_Space);
        pressed = true;
    });
    QVERIFY(start());
    QVERIFY(pressed);
    QVERIFY(!m_startup->splashWindow());
    QVERIFY(!topLevel("frmSplash"));
    QVERIFY(m_startup->mainWindow()->isVisible());
    QVERIFY(windows().boardWindow() && windows().boardWindow()->isVisible());
    QVERIFY(windows().aboutWindow());
}

void AuxiliaryWindowsTest::clickOnFrameClosesSplash()
{
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    // A click on a label inside the frame reaches the frame as well.
    auto* wait = splash->frame()->findChild<QLabel*>("Label1");
    QVERIFY(wait);
    QTest::mouseClick(wait, Qt::LeftButton);
    discardClosedWindows();
    QVERIFY(!splash);
}

void AuxiliaryWindowsTest::secondInstanceEndsAfterSplashIsShown()
{
    QLockFile firstCopy(m_environment->lockFilePath());
    QVERIFY(firstCopy.tryLock(0));
    QVERIFY(!start());
    QVERIFY(m_startup->splashWindow());
    QVERIFY(m_startup->splashWindow()->isVisible());
    QVERIFY(!m_startup->mainWindow());
    QVERIFY(m_dialogs->messages.isEmpty());
}

void AuxiliaryWindowsTest::aboutWindowAtFirstAndLaterOpenings()
{
    QVERIFY(start());
    const QString dataFileVersion = m_startup->state().dataFileVersion;
    QVERIFY(dataFileVersion.startsWith(QStringLiteral("Ver 1.00 ")));

    struct Expected {
        QString version, disclaimer, dataFile;
    };
    const Expected first{
        QStringLiteral("Ver 6.2.13"),
        QStringLiteral("ｻﾎﾟｰﾄﾍﾟｰｼﾞ : ") +
            QDir::toNativeSeparators(m_environment->appFolder() + "help/support.html"),
        QStringLiteral("vorle6.ini  ") + dataFileVersion};
    const Expected later{QStringLiteral("ﾊﾞｰｼﾞｮﾝ 6.2.13"), QString(),
                         QStringLiteral("vorle6.iniバージョン")};

    for (const Expected& expected : {first, later, later}) {
        controls().mnuHelpAbout->trigger();
        QPointer<AboutWindow> about = windows().aboutWindow();
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(about->windowTitle(), QStringLiteral("VORLEのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(labelText(about, "lblTitle"), QStringLiteral("VORLE"));
        QCOMPARE(labelText(about, "lblDescription"), ProductInfo::kFileDescription);
        QCOMPARE(labelText(about, "Label1"), ProductInfo::kMakerLine);
        QCOMPARE(labelText(about, "lblVersion"), expected.version);
        QCOMPARE(labelText(about, "lblDisclaimer"), expected.disclaimer);
        QCOMPARE(labelText(about, "Label_vorle_rev"), expected.dataFile);

        auto* close = about->findChild<QPushButton*>("cmdOK");
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(close, Qt::LeftButton);
        discardClosedWindows();
        QVERIFY(!about);
    }
}

void AuxiliaryWindowsTest::supportButtonOpensSupportPage_data()
{
    QTest::addColumn<bool>("pageThere");
    QTest::addColumn<bool>("browserStarts");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("said");
    QTest::newRow("opened") << true << true << true << QString();
    QTest::newRow("no browser") << true << false << true
                                << QStringLiteral("表示するプログラムを起動できませんでした");
    QTest::newRow("no page") << false << true << false << QStringLiteral("見つかりません");
}

void AuxiliaryWindowsTest::supportButtonOpensSupportPage()
{
    QFETCH(bool, pageThere);
    QFETCH(bool, browserStarts);
    QFETCH(bool, opened);
    QFETCH(QString, said);
    const QString page = m_environment->appFolder() + "help/support.html";
    if (pageThere) {
        QVERIFY(QDir().mkpath(m_environment->appFolder() + "help"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_desktop->succeed = browserStarts;

    QVERIFY(start());
    // Both the window that start-up prepared and a later one open the same page.
    for (int opening = 0; opening < 2; ++opening) {
        controls().mnuHelpAbout->trigger();
        QPointer<AboutWindow> about = windows().aboutWindow();
        auto* jump = about->findChild<QPushButton*>("Command1");
        QVERIFY(jump);
        QCOMPARE(jump->text(), QStringLiteral("サポートホームページへジャンプ"));
        QTest::mouseClick(jump, Qt::LeftButton);
        QVERIFY(m_desktop->openedUrls.isEmpty());
        QCOMPARE(m_desktop->openedFiles.size(), opened ? opening + 1 : 0);
        if (opened) QCOMPARE(m_desktop->openedFiles.last(), page);
        QCOMPARE(m_dialogs->messages.size(), said.isEmpty() ? 0 : opening + 1);
        if (!said.isEmpty()) {
            QVERIFY(m_dialogs->messages.last().text.contains(said));
            QVERIFY(m_dialogs->messages.last().text.contains(QDir::toNativeSeparators(page)));
        }
        QVERIFY(about->isVisible());
        about->close();
        discardClosedWindows();
    }
}

// The page that the button opens is part of the shipped manual.
void AuxiliaryWindowsTest::shippedManualHasTheSupportPage()
{
    QVERIFY(QFile::exists(QStringLiteral(VORLE_SOURCE_DIR "/src/ui/help/support.html")));
}

void AuxiliaryWindowsTest::boardToggleHidesThenShowsAlsoAfterTheCloseBox()
{
    QVERIFY(start());
    QPointer<BoardWindow> board = windows().boardWindow();
    QVERIFY(board && board->isVisible());

    controls().mnuBoardInfomation->trigger();
    QVERIFY(!controls().mnuBoardInfomation->isChecked());
    QCOMPARE(storedBoardSetting(), QStringLiteral("False"));
    QVERIFY(board && !board->isVisible());

    controls().mnuBoardInfomation->trigger();
    QVERIFY(controls().mnuBoardInfomation->isChecked());
    QCOMPARE(storedBoardSetting(), QStringLiteral("True"));
    QVERIFY(windows().boardWindow() && windows().boardWindow()->isVisible());

    // Closed by its close box, the window leaves the entry ticked; the entry then hides it for
    // good and shows a new one.
    board = windows().boardWindow();
    board->close();
    discardClosedWindows();
    QVERIFY(!board);
    QVERIFY(controls().mnuBoardInfomation->isChecked());

    controls().mnuBoardInfomation->trigger();
    QVERIFY(!controls().mnuBoardInfomation->isChecked());
    QCOMPARE(storedBoardSetting(), QStringLiteral("False"));
    QVERIFY(!topLevel("frmBoard") || !topLevel("frmBoard")->isVisible());

    controls().mnuBoardInfomation->trigger();
    QCOMPARE(storedBoardSetting(), QStringLiteral("True"));
    QVERIFY(windows().boardWindow() && windows().boardWindow()->isVisible());
    QVERIFY(windows().boardWindow()->findChild<QWidget*>("Shape_18P"));
}

// An installed manual opens: tst_english_window's manual of each language.
void AuxiliaryWindowsTest::helpContentsWithoutManual()
{
    QVERIFY(start());
    controls().mnuHelpContents->trigger();
    QVERIFY(m_desktop->openedFiles.isEmpty());
    QCOMPARE(m_dialogs->messages.size(), 1);
    const MessageBoxRequest& message = m_dialogs->messages.constFirst();
    QCOMPARE(message.text, QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 "
                                          "このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。"));
    QCOMPARE(message.title, m_startup->mainWindow()->windowTitle());
    QCOMPARE(message.icon, MessageIcon::Information);
}

void AuxiliaryWindowsTest::hiddenMenuEntriesStayHidden()
{
    QVERIFY(start());
    QVERIFY(!controls().mnuHelpSearchForHelpOn->isVisible());
    QVERIFY(!controls().mnuFilePageSetup->isVisible());
    QVERIFY(!controls().mnuFilePrint->isVisible());
    QVERIFY(!controls().mnuFileExitSeparator->isVisible());
    QVERIFY(controls().mnuHelpContents->isVisible());
    QVERIFY(controls().mnuHelpAbout->isVisible());
}

void AuxiliaryWindowsTest::qtStandardTextsInJapanese()
{
    QVERIFY(ApplicationSetup::installJapaneseQtTranslations(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
}

QTEST_MAIN(AuxiliaryWindowsTest)
#include "tst_auxiliary_windows.moc"
