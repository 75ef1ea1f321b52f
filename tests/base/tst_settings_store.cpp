#include "base/SettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

using namespace SettingsKeys;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_environment = std::make_unique<TestEnvironment>(false); }
    void init() { m_environment->clearSettings(); }

    void absentKeysGiveTheirDefaults()
    {
        SettingsStore store;
        QCOMPARE(store.get(kSettings, kMainLeft, "1000"), QStringLiteral("1000"));
        QCOMPARE(store.get(kSettings, kSaveDir, QString()), QString());
        QCOMPARE(store.getNumber(kSettings, kMainTop, 1000), 1000.0);
        QCOMPARE(store.getIndex(kSettings, kComNo, 0, 0, 19), 0);
        QCOMPARE(store.getSwitch(kSettings, kRts, true), true);
        QCOMPARE(store.getSwitch(kSettings, kDtr, false), false);
    }

    void savedTextComesBackAndLandsInTheUsersFile()
    {
        {
            SettingsStore store;
            store.save(kSettings, kSaveDir, QString::fromUtf8("/home/ユーザー/hex"));
            store.save(kSettings6, kBoardInfomation, "True");
        }
        SettingsStore reopened;
        QCOMPARE(reopened.get(kSettings, kSaveDir, QString()),
                 QString::fromUtf8("/home/ユーザー/hex"));
        QCOMPARE(reopened.get(kSettings6, kBoardInfomation, QString()), QStringLiteral("True"));

        QFile file(m_environment->settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Settings]"));
        QVERIFY(text.contains("[Settings6]"));
        QVERIFY(text.contains("mnuBoardInfomation=True"));
    }

    void numbersThatAreNotNumbersFallBack()
    {
        SettingsStore store;
        store.save(kSettings, kMainLeft, "left");
        store.save(kSettings, kAccessSize, "99");
        store.save(kSettings, kRts, "x");
        store.save(kSettings, kDtr, "2");
        store.save(kSettings, kComNo, "4.0");
        QCOMPARE(store.getNumber(kSettings, kMainLeft, 1000), 1000.0);
        QCOMPARE(store.getIndex(kSettings, kAccessSize, 0, 0, 13), 0);
        QCOMPARE(store.getSwitch(kSettings, kRts, true), true);
        QCOMPARE(store.getSwitch(kSettings, kDtr, false), true);
        QCOMPARE(store.getIndex(kSettings, kComNo, 0, 0, 19), 4);
    }

    // A key held for this run reads the run's value and takes saves; the file keeps the user's.
    void keysHeldForThisRunNeverReachTheFile()
    {
        {
            SettingsStore store;
            store.save(kSettings, kDut, "4");
            store.holdForThisRun(kSettings, kDut, "7");
            store.holdForThisRun(kSettings, kAccessSize, "2");
            QCOMPARE(store.get(kSettings, kDut, QString()), QStringLiteral("7"));
            store.save(kSettings, {{kDut, "9"}, {kMainLeft, "1200"}});
            store.save(kSettings, kAccessSize, "3");
            QCOMPARE(store.get(kSettings, kDut, QString()), QStringLiteral("9"));
            QCOMPARE(store.getIndex(kSettings, kAccessSize, 0, 0, 13), 3);
        }
        SettingsStore reopened;
        QCOMPARE(reopened.get(kSettings, kDut, QString()), QStringLiteral("4"));
        QCOMPARE(reopened.get(kSettings, kAccessSize, QStringLiteral("none")),
                 QStringLiteral("none"));
        QCOMPARE(reopened.get(kSettings, kMainLeft, QString()), QStringLiteral("1200"));
    }

private:
    std::unique_ptr<TestEnvironment> m_environment;
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settings_store.moc"
