#include "app/gui/FileHandoff.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/Twips.h"
#include "base/UiLanguage.h"
#include "devices/gui/DevicePanel.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace SettingsKeys;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        m_dialogs = FakeUserDialogs();
        m_fileToLoad.clear();
    }
    void cleanup()
    {
        m_startup.reset();
        m_environment.reset();
    }

    void missingDataFileStopsWithItsMessage()
    {
        QFile::remove(m_environment->appFolder() + "vorle6.ini");
        QVERIFY(!start());
        QCOMPARE(m_dialogs.messages.size(), 1);
        const MessageBoxRequest& message = m_dialogs.messages.first();
        QCOMPARE(message.text,
                 m_environment->appFolder() +
                     QString::fromUtf8("内に vorle6.iniファイルがありませんので         \r\n"
                                       "シリアルＥＥＰＲＯＭプログラマーの起動を中止しました。"));
        QCOMPARE(message.title, QString::fromUtf8("シリアルＥＥＰＲＯＭプログラマー メッセージ"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QVERIFY(!m_startup->mainWindow());
        QVERIFY(!QFile::exists(m_environment->settingsFile()));
    }

    void aFolderNamedLikeTheDataFileCountsAsMissing()
    {
        QFile::remove(m_environment->appFolder() + "vorle6.ini");
        QDir(m_environment->appFolder()).mkdir("vorle6.ini");
        QVERIFY(!start());
        QCOMPARE(m_dialogs.messages.size(), 1);
    }

    void firstRunShowsTheFirstDevice()
    {
        QVERIFY(start());
        MainWindow* window = m_startup->mainWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Serial EEPROM Programmer Ver 6.2.13    vorle6.ini ") +
                     m_startup->state().dataFileVersion);
        QVERIFY(window->windowTitle().contains("    vorle6.ini Ver 1.00 "));
        QCOMPARE(window->windowTitle().count("vorle6.ini"), 1);

        const double dpi = window->screen()->logicalDotsPerInch();
        QCOMPARE(window->pos(), QPoint(twipsToPixels(1000, dpi), twipsToPixels(1000, dpi)));

        MainWindowControls& c = window->controls();
        QCOMPARE(c.Combo_device->count(), m_startup->state().catalogue.size());
        QCOMPARE(c.Combo_device->currentIndex(), 0);
        QCOMPARE(c.Combo_device->currentText(), QString::fromUtf8("24C00    128bit(16x8)"));
        QCOMPARE(c.Lbl_PageSize->text(),
                 QString::fromUtf8("　Mem. Size: 16 byte\r\n　Page Size: 1 byte"));
        QVERIFY(c.Lbl_Spec->text().startsWith("VDD:"));
        QCOMPARE(window->statusPanels().text(4),
                 m_startup->state().catalogue.record(0).field(DeviceRecord::StatusNote));
        QCOMPARE(window->statusPanels().text(1), QString());
        QCOMPARE(comboItems(c.CmbSize), (QStringList{"2", "4", "8", "16"}));
        QCOMPARE(c.CmbSize->currentIndex(), 3);
        QVERIFY(c.DataCombo1->isHidden());
        QCOMPARE(m_startup->state().image.size(), 16);
        QVERIFY(m_dialogs.messages.isEmpty());

        SettingsStore settings;
        QCOMPARE(settings.get(kSettings, kDut, QString()), QStringLiteral("0"));
        QCOMPARE(settings.get(kSettings, kAccessSize, QString()), QStringLiteral("3"));
    }

    void storedDeviceAndPositionAreRestored()
    {
        SettingsStore settings;
        settings.save(kSettings, kDut, "2");
        settings.save(kSettings, kAccessSize, "0");
        settings.save(kSettings, kMainLeft, "3000");
        settings.save(kSettings, kMainTop, "1500");
        QVERIFY(start());
        MainWindow* window = m_startup->mainWindow();
        const double dpi = window->screen()->logicalDotsPerInch();
        QCOMPARE(window->pos(), QPoint(twipsToPixels(3000, dpi), twipsToPixels(1500, dpi)));

        MainWindowControls& c = window->controls();
        QCOMPARE(c.Combo_device->currentIndex(), 2);
        QCOMPARE(c.Lbl_PageSize->text(),
                 QString::fromUtf8("　Mem. Size: 256 byte\r\n　Page Size: 8 byte"));
        QCOMPARE(comboItems(c.CmbSize), (QStringList{"8", "16", "32", "64", "128", "256"}));
        QCOMPARE(c.CmbSize->currentText(), QStringLiteral("256"));
        // The access size chosen before the last exit is not carried over.
        QCOMPARE(settings.get(kSettings, kAccessSize, QString()), QStringLiteral("5"));
    }

    void closingStoresThePositionUnlessMinimized()
    {
        QVERIFY(start());
        MainWindow* window = m_startup->mainWindow();
        const double dpi = window->screen()->logicalDotsPerInch();
        window->move(120, 90);
        QSignalSpy unloaded(window, &MainWindow::unloaded);
        window->close();
        QCOMPARE(unloaded.size(), 1);
        SettingsStore settings;
        QCOMPARE(settings.get(kSettings, kMainLeft, QString()),
                 QString::number(pixelsToTwips(120, dpi)));
        QCOMPARE(settings.get(kSettings, kMainTop, QString()),
                 QString::number(pixelsToTwips(90, dpi)));

        window->show();
        window->move(300, 300);
        window->setWindowState(Qt::WindowMinimized);
        window->controls().mnuFileExit->trigger();  // Exit closes the window as well
        QCOMPARE(unloaded.size(), 2);
        QVERIFY(!window->isVisible());
        QCOMPARE(settings.get(kSettings, kMainLeft, QString()),
                 QString::number(pixelsToTwips(120, dpi)));
    }

    void choosingADeviceRecreatesTheImage()
    {
        QVERIFY(start());
        MainWindowControls& c = m_startup->mainWindow()->controls();
        const int index = m_startup->state().catalogue.indexOf("AT93C66");
        c.Combo_device->setCurrentIndex(index);
        QCOMPARE(m_startup->state().image.size(), 512);
        QCOMPARE(m_startup->state().selectedDevice->Family, BusFamily::Microwire);
        QCOMPARE(c.Lbl_PageSize->text(), QString::fromUtf8("　Mem. Size: 512 byte"));
        QCOMPARE(comboItems(c.CmbSize), (QStringList{"64", "128", "256", "512"}));
        QCOMPARE(m_startup->mainWindow()->statusPanels().text(1), QString());
        SettingsStore settings;
        QCOMPARE(settings.get(kSettings, kDut, QString()), QString::number(index));
        QCOMPARE(settings.get(kSettings, kAccessSize, QString()), QStringLiteral("3"));

        c.CmbSize->setCurrentIndex(1);
        QCOMPARE(settings.get(kSettings, kAccessSize, QString()), QStringLiteral("1"));
        QCOMPARE(m_startup->mainWindow()->devicePanel().accessSize(), 128);
    }

    void storedDeviceOutsideTheListFallsBackToTheFirst()
    {
        SettingsStore settings;
        settings.save(kSettings, kDut, "500");
        QVERIFY(start());
        QCOMPARE(m_startup->mainWindow()->controls().Combo_device->currentIndex(), 0);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_dialogs.messages.first().text.contains("500"));
        QCOMPARE(settings.get(kSettings, kDut, QString()), QStringLiteral("0"));
    }

    void emptyCatalogueStartsWithoutADevice()
    {
        m_environment->writeDataFile("; nothing here\r\nvorle6.ini Ver 9.99\r\n");
        QVERIFY(start());
        MainWindowControls& c = m_startup->mainWindow()->controls();
        QCOMPARE(c.Combo_device->count(), 0);
        QCOMPARE(c.CmbSize->count(), 0);
        QVERIFY(!m_startup->state().selectedDevice);
        QCOMPARE(m_startup->state().image.size(), 0);
        QCOMPARE(m_startup->state().dataFileVersion, QStringLiteral("vorle6.ini Ver 9.99"));
        QCOMPARE(m_dialogs.messages.size(), 1);
    }

    void unusableRowsAreRefused()
    {
        m_environment->writeDataFile(
            "BAD1 x 2 20 8\r\nGOOD x 2 8 8 0 0 ok\r\nBAD2 x two 8 8\r\nGOOD2 y 3 7 1 0 7\r\n");
        SettingsStore settings;
        settings.save(kSettings, kDut, "0");
        QVERIFY(start());
        MainWindowControls& c = m_startup->mainWindow()->controls();
        QCOMPARE(c.Combo_device->currentIndex(), 1);
        QCOMPARE(m_startup->state().image.size(), 256);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_dialogs.messages.first().text.contains("BAD1"));

        c.Combo_device->setCurrentIndex(2);
        QCOMPARE(m_dialogs.messages.size(), 2);
        QVERIFY(m_dialogs.messages.last().text.contains("BAD2"));
        QVERIFY(m_dialogs.messages.last().text.contains("two"));
        QCOMPARE(c.Combo_device->currentIndex(), 1);
        QCOMPARE(m_startup->state().image.size(), 256);
        QCOMPARE(settings.get(kSettings, kDut, QString()), QStringLiteral("1"));

        c.Combo_device->setCurrentIndex(3);
        QCOMPARE(m_startup->state().image.size(), 128);
    }

    void oversizedDataFileIsReportedOnce()
    {
        QString text;
        for (int i = 0; i < 103; ++i) text += QStringLiteral("D%1 x 2 8 8\r\n").arg(i);
        QStringList many;
        for (int i = 0; i < 66; ++i) many << "w";
        text.prepend("D x 2 8 8 " + many.join(' ') + "\r\n");
        m_environment->writeDataFile(text);
        QVERIFY(start());
        QCOMPARE(m_startup->mainWindow()->controls().Combo_device->count(), 101);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_dialogs.messages.first().text.contains("101"));
        QVERIFY(m_dialogs.messages.first().text.contains("65"));
    }

    // A named pipe or a device where the settings or the listing go would keep the first read
    // or write waiting for ever: it is renamed, said, and the program starts.
    void specialFilesInThePlaceOfOurOwnAreSetAside_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");
        QTest::newRow("settings: a pipe") << "settings"
                                          << "pipe"
                                          << "設定ファイル";
        QTest::newRow("settings: a link to a device") << "settings"
                                                      << "/dev/zero"
                                                      << "設定ファイル";
        QTest::newRow("listing: a pipe") << "listing"
                                         << "pipe"
                                         << "テキストデータのファイル";
        QTest::newRow("listing in the cache: a pipe") << "cached listing"
                                                      << "pipe"
                                                      << "テキストデータのファイル";
    }
    void specialFilesInThePlaceOfOurOwnAreSetAside()
    {
        QFETCH(QString, which);
        QFETCH(QString, kind);
        QFETCH(QString, said);
        QString path = m_environment->appFolder() + "temp.txt";
        if (which == u"settings") path = m_environment->settingsFile();
        if (which == u"cached listing") {
            path = m_environment->configFolder() + "/cache/VORLE/temp.txt";
        }
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        if (kind == u"pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(QFile::link(kind, path));
        }

        QVERIFY(start());
        QCOMPARE(m_dialogs.messages.size(), 1);
        const QString text = m_dialogs.messages.first().text;
        QVERIFY2(text.startsWith(said + QStringLiteral(" ") + path), qPrintable(text));
        QVERIFY2(text.contains(path + QStringLiteral(".not-a-file")), qPrintable(text));
        QVERIFY(QFileInfo(path + QStringLiteral(".not-a-file")).exists() ||
                QFileInfo(path + QStringLiteral(".not-a-file")).isSymLink());
        if (which == u"settings") {
            QVERIFY(QFileInfo(path).isFile());
            QCOMPARE(SettingsStore().get(kSettings, kDut, QString()), QStringLiteral("0"));
        }
    }

    void fileOnTheCommandLineLoadsAfterStartUp()
    {
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("dump.bin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(16, '\x3C'));
        file.close();

        m_fileToLoad = path;
        QVERIFY(start());
        MainWindow* window = m_startup->mainWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(m_startup->state().image.bytes(), QByteArray(16, '\x3C'));
        QCOMPARE(window->windowTitle(), ProductInfo::titleText() + path);
        QCOMPARE(window->statusPanels().text(1),
                 QString::fromUtf8("ファイルオープン完了（バイナリ形式）"));
        QCOMPARE(window->controls().LblCheckSUM->text(), QStringLiteral("CheckSum:03C0"));
    }

    // A second start hands its file over the socket beside the lock; the window loads it.
    void fileHandedOverLoads()
    {
        QVERIFY(start());
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("handed.s19"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("S104000042B9\r\n");
        file.close();

        bool handed = false;
        std::unique_ptr<QThread> second(QThread::create([&] {
            handed = FileHandoff::handOver(
                FileHandoff::serverNameFor(m_environment->lockFilePath()), path);
        }));
        second->start();
        QTRY_VERIFY(second->isFinished());
        QVERIFY(handed);
        QTRY_COMPARE(m_startup->state().image.at(0), std::uint8_t{0x42});
        QCOMPARE(m_startup->mainWindow()->windowTitle(), ProductInfo::titleText() + path);
    }

    void fileFromArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{"vorle6"} << QString();
        QTest::newRow("relative") << QStringList{"vorle6", "a.hex"} << "/x/y/a.hex";
        QTest::newRow("up a folder") << QStringList{"vorle6", "../a.hex"} << "/x/a.hex";
        QTest::newRow("absolute") << QStringList{"vorle6", "/d/b.s19"} << "/d/b.s19";
        QTest::newRow("file URL") << QStringList{"vorle6", "file:///d/c%20d.bin"} << "/d/c d.bin";
        QTest::newRow("options passed over") << QStringList{"vorle6", "-v", "a"} << "/x/y/a";
        QTest::newRow("after --") << QStringList{"vorle6", "--", "-a"} << "/x/y/-a";
        QTest::newRow("language first") << QStringList{"vorle6", "--lang", "en", "a"} << "/x/y/a";
        QTest::newRow("language only") << QStringList{"vorle6", "--lang", "ja"} << QString();
        QTest::newRow("language joined") << QStringList{"vorle6", "--lang=en", "a"} << "/x/y/a";
    }
    void fileFromArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QCOMPARE(Startup::fileFromArguments(arguments, QStringLiteral("/x/y")), file);
    }

    void languageFromArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language");  // the code; empty: none asked for
        QTest::addColumn<bool>("warned");
        QTest::newRow("none") << QStringList{"vorle6", "a.hex"} << QString() << false;
        QTest::newRow("English") << QStringList{"vorle6", "--lang", "en", "a.hex"} << "en" << false;
        QTest::newRow("Japanese") << QStringList{"vorle6", "--lang", "ja"} << "ja" << false;
        QTest::newRow("joined, upper case") << QStringList{"vorle6", "--lang=EN"} << "en" << false;
        QTest::newRow("the last one counts")
            << QStringList{"vorle6", "--lang", "en", "--lang", "ja"} << "ja" << false;
        QTest::newRow("unknown") << QStringList{"vorle6", "--lang", "fr"} << QString() << true;
        QTest::newRow("without its value") << QStringList{"vorle6", "--lang"} << QString() << true;
        QTest::newRow("a file after --")
            << QStringList{"vorle6", "--", "--lang"} << QString() << false;
    }
    void languageFromArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        QFETCH(bool, warned);
        if (warned) QTest::ignoreMessage(QtWarningMsg, QRegularExpression("--lang takes ja or en"));
        const std::optional<UiLanguage> asked = Startup::languageFromArguments(arguments);
        QCOMPARE(asked ? languageCode(*asked) : QString(), language);
    }

private:
    bool start()
    {
        Startup::Environment environment{m_environment->appFolder(), m_environment->lockFilePath(),
                                         &m_dialogs, &m_desktop};
        environment.fileToLoad = m_fileToLoad;
        m_startup = std::make_unique<Startup>(environment);
        return m_startup->run();
    }
    static QStringList comboItems(QComboBox* combo)
    {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }

    std::unique_ptr<TestEnvironment> m_environment;
    FakeUserDialogs m_dialogs;
    FakeDesktopOpener m_desktop;
    std::unique_ptr<Startup> m_startup;
    QString m_fileToLoad;
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
