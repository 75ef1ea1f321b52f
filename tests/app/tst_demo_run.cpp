// vorle6 --demo: the window on qzpgm-sim beside the program, through the program's own serial
// port over the emulator's pseudo-terminal. A Block Read works on the first click, the user's
// port settings stay as they were, the emulator ends with the window; without a usable
// emulator the window says why and starts as usual.
#include "app/gui/DemoRun.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/SettingsStore.h"
#include "link/PortDevices.h"
#include "session/ProgramState.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <memory>

using namespace SettingsKeys;

namespace {

// Every key of the settings file that says which port the window uses.
QStringList portKeys(const QString& settingsFile)
{
    QSettings file(settingsFile, QSettings::IniFormat);
    QStringList keys;
    for (const QString& key : file.allKeys()) {
        if (key.startsWith(kPorts + QLatin1Char('/')) ||
            key == kSettings + QStringLiteral("/") + kComNo) {
            keys.append(key + QLatin1Char('=') + file.value(key).toString());
        }
    }
    keys.sort();
    return keys;
}

}  // namespace

class DemoRunTest : public QObject {
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
    void requested_data();
    void requested();
    void theWindowStartsOnTheEmulator_data();
    void theWindowStartsOnTheEmulator();

private:
    std::unique_ptr<TestEnvironment> m_environment;
    FakeUserDialogs m_dialogs;
    FakeDesktopOpener m_desktop;
    std::unique_ptr<Startup> m_startup;
};

void DemoRunTest::requested_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("demo");
    QTest::newRow("alone") << QStringList{"vorle6", "--demo"} << true;
    QTest::newRow("with a file") << QStringList{"vorle6", "a.bin", "--demo"} << true;
    QTest::newRow("a file of that name") << QStringList{"vorle6", "--", "--demo"} << false;
    QTest::newRow("not asked for") << QStringList{"vorle6", "--lang", "en"} << false;
}

void DemoRunTest::requested()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, demo);
    QCOMPARE(DemoRun::requested(arguments), demo);
}

void DemoRunTest::theWindowStartsOnTheEmulator_data()
{
    QTest::addColumn<QString>("emulator");  // beside the program: "real", "failing" or none
    QTest::addColumn<QString>("notice");    // in the start-up's notice; empty: none
    QTest::newRow("emulator beside the program") << "real" << QString();
    QTest::newRow("no emulator") << QString() << "qzpgm-sim がありません";
    QTest::newRow("no pseudo-terminals") << "failing"
                                         << "cannot open a pseudo-terminal";
}

void DemoRunTest::theWindowStartsOnTheEmulator()
{
    QFETCH(QString, emulator);
    QFETCH(QString, notice);
    const QString program = m_environment->appFolder() + QStringLiteral("qzpgm-sim");
    if (emulator == u"real") {
        QVERIFY(QFile::link(QStringLiteral(VORLE_SIM_PROGRAM), program));
    } else if (emulator == u"failing") {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\necho 'qzpgm-sim: cannot open a pseudo-terminal: No such device' "
            ">&2\nexit 2\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    }
    {
        SettingsStore settings;
        settings.save(kSettings, kComNo, QStringLiteral("2"));
        settings.save(kPorts, portKey(3), QStringLiteral("/dev/ttyUSB7"));
        settings.save(kSettings, kDut, QStringLiteral("0"));
    }
    const QStringList before = portKeys(m_environment->settingsFile());
    QCOMPARE(before.size(), 2);

    Startup::Environment environment{m_environment->appFolder(), m_environment->lockFilePath(),
                                     &m_dialogs, &m_desktop};
    environment.demo = true;
    m_startup = std::make_unique<Startup>(environment);
    QVERIFY(m_startup->run());
    MainWindow& window = *m_startup->mainWindow();
    if (!notice.isEmpty()) {
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY2(m_dialogs.messages.first().text.contains(notice),
                 qPrintable(m_dialogs.messages.first().text));
        QCOMPARE(window.controls().Combo_device->currentIndex(), 0);
    } else {
        QVERIFY2(m_dialogs.messages.isEmpty(), qPrintable(m_dialogs.messages.value(0).text));
        QVERIFY(window.controls().Combo_device->currentText().startsWith(QStringLiteral("24C64 ")));
        window.controls().Cmd_READ_all->click();
        QVERIFY2(window.statusPanels().text(1).startsWith(QStringLiteral("読み出し終了")),
                 qPrintable(window.statusPanels().text(1)));
        QCOMPARE(m_startup->state().image.bytes(), DemoBoard::sampleImage(8192));
        QVERIFY(m_dialogs.messages.isEmpty());
    }
    const QString device = m_startup->demo() ? m_startup->demo()->board().devicePath() : QString();
    QCOMPARE(device.isEmpty(), !notice.isEmpty());
    QVERIFY(window.close());
    m_startup.reset();
    // The emulator ended with the window and took its terminal with it.
    if (!device.isEmpty()) QVERIFY(!QFileInfo::exists(device));
    QCOMPARE(portKeys(m_environment->settingsFile()), before);
    QCOMPARE(SettingsStore().get(kSettings, kDut, QString()), QStringLiteral("0"));
}

QTEST_MAIN(DemoRunTest)
#include "tst_demo_run.moc"
