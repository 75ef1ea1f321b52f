// The scripted board that protocol tests stand on: it must answer in order and catch any byte
// it does not expect.
#include "support/FakeBoard.h"
#include "support/FakeSerialPort.h"
#include "support/PortWait.h"

#include <QTest>

class TestFakeBoard : public QObject {
    Q_OBJECT
private slots:
    void answersAScriptAcrossWriteBoundaries();
    void catchesTheFirstUnexpectedByteAndFallsSilent();
    void bytesAfterTheScriptAreUnexpected();
    void reportsWhatIsStillAwaited();
    void portRecordsOpeningsAndModes();
};

void TestFakeBoard::answersAScriptAcrossWriteBoundaries()
{
    FakeSerialPort port;
    FakeBoard board(port);
    QByteArray chunk;
    board.expect("?")
        .reply(FakeBoard::identification())
        .expect("Ee2P")
        .reply("P")
        .expectAny(3)
        .then([&](const QByteArray& bytes) { chunk = bytes; });
    QVERIFY(port.open());
    port.write("?");
    // Replies come from the event loop, not inside write().
    QCOMPARE(port.receivedCount(), 0);
    QVERIFY(waitForReceived(port, 17));
    QCOMPARE(port.takeAll(), QByteArray("QZ-PGM Ver 6.00\r\n"));
    port.write("E");
    port.write("e2");
    port.write("PAB");
    port.write("C");
    QVERIFY(waitForReceived(port, 1));
    QCOMPARE(port.takeAll(), QByteArray("P"));
    QCOMPARE(chunk, QByteArray("ABC"));
    QVERIFY2(board.finished(), qPrintable(board.report()));
}

void TestFakeBoard::catchesTheFirstUnexpectedByteAndFallsSilent()
{
    FakeSerialPort port;
    FakeBoard board(port);
    QStringList failures;
    board.setFailureHandler([&](const QString& message) { failures.append(message); });
    board.expect("Ee2R").reply("never");
    QVERIFY(port.open());
    port.write("Ee2W");
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures.first().contains("expected 52, got 57"), qPrintable(failures.first()));
    port.write("R");
    QCOMPARE(failures.size(), 1);
    QVERIFY(!waitForReceived(port, 1, std::chrono::milliseconds{50}));
    QVERIFY(board.failed());
    QVERIFY(!board.finished());
}

void TestFakeBoard::bytesAfterTheScriptAreUnexpected()
{
    FakeSerialPort port;
    FakeBoard board(port);
    QStringList failures;
    board.setFailureHandler([&](const QString& message) { failures.append(message); });
    board.expect("@");
    QVERIFY(port.open());
    port.write("@@");
    QCOMPARE(failures.size(), 1);
    QVERIFY(failures.first().contains("after the script ended"));
}

void TestFakeBoard::reportsWhatIsStillAwaited()
{
    FakeSerialPort port;
    FakeBoard board(port);
    board.expect("?").expect(QByteArray::fromHex("10000000"));
    QVERIFY(port.open());
    port.write("?");
    port.write(QByteArray::fromHex("1000"));
    QVERIFY(!board.finished());
    QVERIFY2(board.report().contains("step 2 of 2 for 10 00 00 00 (got 10 00)"),
             qPrintable(board.report()));
}

void TestFakeBoard::portRecordsOpeningsAndModes()
{
    FakeSerialPort port;
    port.setPortNumber(5);
    port.setRts(false);
    port.setDtr(true);
    QVERIFY(port.open());
    port.setReceiveMode(SerialPort::ReceiveMode::Bytes);
    (void)port.takeAll();
    port.close();
    port.write("lost");
    port.deliver("lost");
    QCOMPARE(port.receivedCount(), 0);
    QCOMPARE(port.openings.size(), 1);
    QCOMPARE(port.openings.first().portNumber, 5);
    QCOMPARE(port.openings.first().rts, false);
    QCOMPARE(port.openings.first().dtr, true);
    QCOMPARE(port.closeCount, 1);
    QCOMPARE(port.takeModes, QList<SerialPort::ReceiveMode>{SerialPort::ReceiveMode::Bytes});
    QCOMPARE(port.written, QByteArray());

    port.openSucceeds = false;
    QString reason;
    QVERIFY(!port.open(&reason));
    QCOMPARE(reason, port.openFailureReason);
}

QTEST_GUILESS_MAIN(TestFakeBoard)
#include "tst_fake_board.moc"
