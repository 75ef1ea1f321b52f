// Detection of the board, the reply wait and the control lock, on a scripted board in fake time.
#include "link/LinkFixture.h"

#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(AccessOutcome::Kind)

namespace {

const QString kCheckFailed = QStringLiteral("プログラマ接続確認エラー。");
const QString kOldFirmware = QStringLiteral(
    "このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
    "ファームウエアバージョン６以上をご使用ください。");

}  // namespace

class ProgrammerLinkTest : public QObject {
    Q_OBJECT

private slots:
    void detectionOfAGoodBoard()
    {
        LinkFixture f;
        f.settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, "2");
        // The answer to the first query is dropped, whatever it is.
        f.board.expect("?")
            .reply("leftover from earlier")
            .expect("?")
            .reply(FakeBoard::identification());
        const AccessOutcome outcome = f.readVersion();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QVERIFY(outcome.succeeded());
        QCOMPARE(outcome.identification, QStringLiteral("QZ-PGM Ver 6.00"));
        QCOMPARE(f.link.TimeOutFlag(), 0);
        QCOMPARE(f.panels.text(2), QStringLiteral("COM3 : QZ-PGM Ver 6.00"));
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.port.isOpen());
        QCOMPARE(f.port.openings.size(), 1);
        QCOMPARE(f.port.openings.first().portNumber, 3);
        // Missing line settings: RTS on, DTR off.
        QCOMPARE(f.port.openings.first().rts, true);
        QCOMPARE(f.port.openings.first().dtr, false);
        QCOMPARE(f.port.takeModes, QList<SerialPort::ReceiveMode>{SerialPort::ReceiveMode::Text});
        QCOMPARE(f.port.receiveMode(), SerialPort::ReceiveMode::Bytes);
        QCOMPARE(f.clock.pauses, QList<std::chrono::milliseconds>{50ms});
    }

    void storedLinesAreApplied()
    {
        LinkFixture f;
        f.settings.save(SettingsKeys::kSettings, SettingsKeys::kRts, "0");
        f.settings.save(SettingsKeys::kSettings, SettingsKeys::kDtr, "1");
        f.expectDetection();
        QVERIFY(f.readVersion().succeeded());
        QCOMPARE(f.port.openings.first().rts, false);
        QCOMPARE(f.port.openings.first().dtr, true);
    }

    void firmwareVersions_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<AccessOutcome::Kind>("kind");
        QTest::addColumn<bool>("messageShown");
        using Kind = AccessOutcome::Kind;
        QTest::newRow("6.00") << "6.00" << Kind::Done << false;
        QTest::newRow("7.10") << "7.10" << Kind::Done << false;
        QTest::newRow("0000 reads as no version") << "0000" << Kind::Done << false;
        QTest::newRow("5.10 is too old") << "5.10" << Kind::OldFirmware << true;
        QTest::newRow("not a number") << "6.x0" << Kind::BadReply << false;
    }

    void firmwareVersions()
    {
        QFETCH(QString, version);
        QFETCH(AccessOutcome::Kind, kind);
        QFETCH(bool, messageShown);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 8);
        f.window.size = 256;
        f.expectDetection(FakeBoard::identification(version));
        const bool goesOn = kind == AccessOutcome::Kind::Done;
        // A whole access where it stops at detection: nothing but the queries reaches the board.
        const AccessOutcome outcome =
            goesOn ? f.readVersion() : f.access.Cmd_READ_all_Click().access;
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(f.link.TimeOutFlag(), goesOn ? 0 : 1);
        QCOMPARE(f.panels.text(2), QStringLiteral("COM1 : QZ-PGM Ver ") + version);
        if (!goesOn) QCOMPARE(f.panels.text(1), kCheckFailed);
        QCOMPARE(f.dialogs.messages.size(), messageShown ? 1 : 0);
        if (messageShown) {
            const MessageBoxRequest& box = f.dialogs.messages.first();
            QCOMPARE(box.text, kOldFirmware);
            QCOMPARE(box.title, QStringLiteral("VORLE"));
            QCOMPARE(box.icon, MessageIcon::None);
            QCOMPARE(box.buttons, MessageButtons::Ok);
        }
    }

    void anotherBoardStopsTheAccess()
    {
        LinkFixture f;
        f.expectDetection("XY-PGM Ver 6.00\r\n");
        const AccessOutcome outcome = f.readVersion();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.link.TimeOutFlag(), 1);
        QCOMPARE(outcome.kind, AccessOutcome::Kind::NoBoard);
        QCOMPARE(f.windowText(outcome), kCheckFailed);
        QCOMPARE(f.panels.text(2), QStringLiteral("COM1 : ライター未接続"));
    }

    void aShortAnswerTimesOutAfterTenSeconds()
    {
        LinkFixture f;
        const QByteArray sixteen = FakeBoard::identification().left(16);
        f.expectDetection(sixteen);
        const LinkClock::Duration start = f.clock.now();
        const AccessOutcome outcome = f.readVersion();
        QCOMPARE(f.link.TimeOutFlag(), 1);
        QCOMPARE(outcome.kind, AccessOutcome::Kind::NoBoard);
        QCOMPARE(outcome.answeredBytes, std::optional<int>(16));
        QCOMPARE(f.windowText(outcome), kCheckFailed + QStringLiteral("【16】"));
        QCOMPARE(f.panels.text(2), QStringLiteral("COM1 : ライター未接続"));
        const LinkClock::Duration waited = f.clock.now() - start - 50ms;
        QVERIFY(waited > 10s && waited <= 10s + FakeLinkClock::kTick);
        // The port stays open for the caller's end of the access, in text mode.
        QVERIFY(f.port.isOpen());
        QCOMPARE(f.port.receiveMode(), SerialPort::ReceiveMode::Text);
    }

    void aShorterLimitEndsTheWaitSooner()
    {
        LinkFixture f;
        f.board.expect("?").expect("?");
        const LinkClock::Duration start = f.clock.now();
        const AccessOutcome outcome = f.link.Read_Version(f.linkSettings(), 300ms);
        QVERIFY(f.board.finished());
        QCOMPARE(outcome.kind, AccessOutcome::Kind::NoBoard);
        QCOMPARE(f.windowText(outcome), kCheckFailed + QStringLiteral("【0】"));
        const LinkClock::Duration waited = f.clock.now() - start - 50ms;
        QVERIFY(waited > 300ms && waited <= 300ms + FakeLinkClock::kTick);
    }

    void aPortThatCannotOpenEndsTheAccess()
    {
        LinkFixture f;
        f.port.openSucceeds = false;
        f.port.openFailureReason = QStringLiteral("no such device");
        f.selectDevice(BusFamily::I2c, 8, 8);
        f.window.size = 256;
        const AccessOutcome outcome = f.access.Cmd_WRITE_all_Click().access;
        QCOMPARE(outcome.kind, AccessOutcome::Kind::PortUnusable);
        QCOMPARE(outcome.portFailure.systemReason, f.port.openFailureReason);
        QCOMPARE(f.panels.text(1), kCheckFailed + QStringLiteral("【0】"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().text,
                 QStringLiteral("指定した通信ポートは使用できませんでした。"));
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Critical);
        QCOMPARE(f.dialogs.messages.first().detail,
                 QStringLiteral("COM1 (%1): no such device").arg(f.linkSettings().devicePath));
        QCOMPARE(f.panels.text(2), QStringLiteral("COM1 : ライター未接続"));
        QVERIFY(f.port.written.isEmpty());
    }

    // Nothing has come when the clock reads exactly 30 s: a byte a moment later is in time, one
    // two ticks later is not.
    void theWaitEndsJustPastTheLimit_data()
    {
        QTest::addColumn<bool>("late");
        QTest::newRow("at the limit") << false;
        QTest::newRow("just past it") << true;
    }
    void theWaitEndsJustPastTheLimit()
    {
        QFETCH(bool, late);
        LinkFixture f;
        QVERIFY(f.port.open());
        const LinkClock::Duration start = f.clock.now();
        f.clock.after(late ? 30s + 2 * FakeLinkClock::kTick : 30s + 500us,
                      [&] { f.port.deliver("@"); });
        f.link.Wait_Input(1, ProgrammerLink::kReplyLimit);
        QCOMPARE(f.link.TimeOutFlag(), late ? 1 : 0);
        QCOMPARE(f.panels.text(1), late ? QStringLiteral("タイムアウト") : QString());
        if (!late) return;
        QCOMPARE(f.clock.now() - start, 30s + FakeLinkClock::kTick);
        // It slept, rather than spinning through the 30 seconds.
        QVERIFY(f.clock.sleeps < 5);
    }

    void theFlagStaysSetUntilCleared()
    {
        LinkFixture f;
        QVERIFY(f.port.open());
        f.link.Wait_Input(1, 1s);
        QCOMPARE(f.link.TimeOutFlag(), 1);
        f.port.deliver("@@");
        f.link.Wait_Input(1, 1s);
        QCOMPARE(f.link.TimeOutFlag(), 1);
        f.frame.Lock_Controls();
        QCOMPARE(f.link.TimeOutFlag(), 0);
    }

    void lockAndUnlock()
    {
        LinkFixture f;
        f.panels.setText(1, "old");
        f.panels.setText(2, "COM1 : QZ-PGM Ver 6.00");
        f.frame.Lock_Controls();
        QVERIFY(f.link.begin());
        QVERIFY(f.link.running());
        QCOMPARE(f.window.lockedEnabled, QList<bool>{false});
        QVERIFY(!f.window.imageCommandsEnabled);
        QCOMPARE(f.panels.text(1), QString());
        QCOMPARE(f.panels.text(2), QString());

        QVERIFY(f.port.open());
        f.frame.Unlock_Controls();
        f.frame.Unlock_Controls();
        QVERIFY(!f.link.running());
        QVERIFY(!f.port.isOpen());
        QCOMPARE(f.port.closeCount, 1);
        QVERIFY(f.window.enabled());
        QVERIFY(f.window.imageCommandsEnabled);
        QCOMPARE(f.window.focusCount, 2);
    }

    void cancelDuringDetectionIsNotAConnectionFailure()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 8);
        f.window.size = 256;
        f.board.expect("?").expect("?").then(
            [&](const QByteArray&) { f.clock.after(1s, [&] { f.link.cancel(); }); });
        const AccessOutcome outcome = f.access.Cmd_WRITE_all_Click().access;
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(outcome.kind, AccessOutcome::Kind::Cancelled);
        QCOMPARE(f.link.TimeOutFlag(), 1);
        QCOMPARE(f.panels.text(1),
                 QStringLiteral("中止しました。 (チップには何も書き込んでいません)"));
        QCOMPARE(f.panels.text(2), QString());
    }

    void cancelEndsAWaitWithoutATimeOutText()
    {
        LinkFixture f;
        QVERIFY(f.link.begin());
        QVERIFY(f.port.open());
        f.clock.after(2s, [&] { f.link.cancel(); });
        f.link.Wait_Input(1, ProgrammerLink::kReplyLimit);
        QCOMPARE(f.link.TimeOutFlag(), 1);
        QVERIFY(f.link.cancelled());
        QCOMPARE(f.panels.text(1), QString());
        QVERIFY(f.clock.now() - LinkClock::Duration{std::chrono::hours{1000}} < 3s);
    }
};

QTEST_GUILESS_MAIN(ProgrammerLinkTest)
#include "tst_programmer_link.moc"
