// The real port over pseudo-terminals the test holds: the operations the protocol relies on.
#include "base/SettingsStore.h"
#include "link/GroupMembership.h"
#include "link/PortDevices.h"
#include "link/PortOpenFailure.h"
#include "link/QtSerialPort.h"
#include "link/gui/PortFailureText.h"
#include "support/HeldDevice.h"
#include "support/PortWait.h"
#include "support/TestEnvironment.h"
#include "support/TestPty.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <thread>

using namespace std::chrono_literals;

class TestQtSerialPort : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesReachTheLine();
    void countsTakesAndDiscards();
    void discardDropsWhatTheSystemHolds();
    void aChunkIsAnnouncedWhenItIsWhole();
    void closeDeliversEverythingWritten_data();
    void closeDeliversEverythingWritten();
    void linesThatCannotBeDrivenDoNotStopTheOpen_data();
    void linesThatCannotBeDrivenDoNotStopTheOpen();
    void failedOpenGivesTheSystemsReason();
    void aPortAnotherProgramHoldsIsNotOpened();
    void failureTexts_data();
    void failureTexts();
    void groupMembershipOfThisUser();
    void portNumbersMapToDevices();
    void closedPortIsInert();

private:
    // Port `number` points at the test pty.
    void route(int number, const QString& device);
    void usePort(int number);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<TestPty> m_pty;
};

void TestQtSerialPort::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_settings = std::make_unique<SettingsStore>();
    m_port = std::make_unique<QtSerialPort>();
    m_pty = std::make_unique<TestPty>();
    QVERIFY(m_pty->isValid());
    route(3, m_pty->slavePath());
    usePort(3);
}

void TestQtSerialPort::cleanup()
{
    m_port.reset();
    m_pty.reset();
    m_settings.reset();
    m_env.reset();
}

void TestQtSerialPort::route(int number, const QString& device)
{
    m_settings->save(SettingsKeys::kPorts, SettingsKeys::portKey(number), device);
}

void TestQtSerialPort::usePort(int number)
{
    m_port->setPortNumber(number);
    m_port->setDevicePath(PortDevices(*m_settings).devicePath(number));
}

void TestQtSerialPort::writesReachTheLine()
{
    QCOMPARE(m_port->objectName(), QStringLiteral("MSComm1"));
    QString reason;
    QVERIFY2(m_port->open(&reason), qPrintable(reason));
    QVERIFY(m_port->isOpen());
    m_port->write("E");
    QCOMPARE(m_pty->receive(1), QByteArray("E"));
    m_port->write("e2P");
    m_port->write(QByteArray::fromHex("10000000"));
    QCOMPARE(m_pty->receive(7), QByteArray("e2P") + QByteArray::fromHex("10000000"));
}

void TestQtSerialPort::countsTakesAndDiscards()
{
    QVERIFY(m_port->open());
    QSignalSpy arrivals(m_port.get(), &SerialPort::bytesArrived);
    QCOMPARE(m_port->receivedCount(), 0);

    m_pty->send("QZ-PGM");
    QVERIFY(waitForReceived(*m_port, 6));
    QVERIFY(!arrivals.isEmpty());
    m_pty->send(" Ver 6.00\r\n");
    QVERIFY(waitForReceived(*m_port, 17));
    QCOMPARE(m_port->receivedCount(), 17);
    m_port->setReceiveMode(SerialPort::ReceiveMode::Bytes);
    QCOMPARE(m_port->takeAll(), QByteArray("QZ-PGM Ver 6.00\r\n"));
    QCOMPARE(m_port->receivedCount(), 0);

    m_pty->send(QByteArray::fromHex("00FF40"));
    QVERIFY(waitForReceived(*m_port, 3));
    m_port->discard();
    QCOMPARE(m_port->receivedCount(), 0);
    QCOMPARE(m_port->takeAll(), QByteArray());

    // The buffer keeps working after a discard.
    m_pty->send("@");
    QVERIFY(waitForReceived(*m_port, 1));
    QCOMPARE(m_port->takeAll(), QByteArray("@"));
}

void TestQtSerialPort::discardDropsWhatTheSystemHolds()
{
    QVERIFY(m_port->open());
    // Bytes that reached the system but that the event loop has not yet picked up: an answer
    // left from an earlier command must not survive the discard.
    m_pty->send("stale answer");
    std::this_thread::sleep_for(50ms);
    m_port->discard();
    m_pty->send("@");
    QVERIFY(waitForReceived(*m_port, 1));
    QTest::qWait(50);
    QCOMPARE(m_port->takeAll(), QByteArray("@"));
}

void TestQtSerialPort::aChunkIsAnnouncedWhenItIsWhole()
{
    QVERIFY(m_port->open());
    QSignalSpy arrivals(m_port.get(), &SerialPort::bytesArrived);
    m_port->expectBytes(16);
    m_pty->send("0123456789");
    QVERIFY(!waitForReceived(*m_port, 1, 300ms));
    QVERIFY(arrivals.isEmpty());
    m_pty->send("ABCDEF");
    QVERIFY(waitForReceived(*m_port, 16));
    QCOMPARE(arrivals.size(), 1);
    QCOMPARE(m_port->takeAll(), QByteArray("0123456789ABCDEF"));

    // Back to one: a part of a chunk is counted again.
    m_pty->send("0123");
    QVERIFY(!waitForReceived(*m_port, 1, 300ms));
    m_port->expectBytes(1);
    QVERIFY(waitForReceived(*m_port, 4));
    QCOMPARE(m_port->takeAll(), QByteArray("0123"));

    // A new opening starts from one again.
    m_port->expectBytes(8);
    m_port->close();
    QVERIFY(m_port->open());
    m_pty->send("@");
    QVERIFY(waitForReceived(*m_port, 1));
}

void TestQtSerialPort::closeDeliversEverythingWritten_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("one byte") << 1;
    QTest::newRow("one chunk") << 16;
    QTest::newRow("many chunks") << 4096;
}

void TestQtSerialPort::closeDeliversEverythingWritten()
{
    QFETCH(int, size);
    QByteArray data;
    for (int i = 0; i < size; ++i) data.append(static_cast<char>(i * 7 + 3));
    QVERIFY(m_port->open());
    m_port->write(data);
    // No event loop between the write and the close: the last chunk of a write ends so.
    m_port->close();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_pty->receive(size), data);
}

void TestQtSerialPort::linesThatCannotBeDrivenDoNotStopTheOpen_data()
{
    QTest::addColumn<bool>("rts");
    QTest::addColumn<bool>("dtr");
    QTest::newRow("RTS on, DTR off") << true << false;
    QTest::newRow("RTS off, DTR on") << false << true;
    QTest::newRow("both on") << true << true;
    QTest::newRow("both off") << false << false;
}

void TestQtSerialPort::linesThatCannotBeDrivenDoNotStopTheOpen()
{
    QFETCH(bool, rts);
    QFETCH(bool, dtr);
    m_port->setRts(rts);
    m_port->setDtr(dtr);
    QString reason;
    QVERIFY2(m_port->open(&reason), qPrintable(reason));
    m_port->write("?");
    QCOMPARE(m_pty->receive(1), QByteArray("?"));
    m_port->close();
    // Reopening the same device works (nothing is left locked).
    QVERIFY(m_port->open());
}

void TestQtSerialPort::failedOpenGivesTheSystemsReason()
{
    route(4, QStringLiteral("/nonexistent/ttyQZ"));
    usePort(4);
    QString reason;
    QVERIFY(!m_port->open(&reason));
    QVERIFY(!m_port->isOpen());
    QCOMPARE(reason, m_port->openFailure().systemReason);
    QCOMPARE(m_port->openFailure().kind, PortOpenFailure::Kind::NotFound);
    const QString text = portFailureText(m_port->openFailure());
    QVERIFY2(text.startsWith(QStringLiteral("COM4 (/nonexistent/ttyQZ): ")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("[Ports] に COM4=")), qPrintable(text));
    // A later open of a good port is not disturbed by the failure.
    usePort(3);
    QVERIFY(m_port->open());
}

// Whatever name the device goes by, a port another program has open is refused before it is
// opened, naming the program, and the other program's lines are left alone.
void TestQtSerialPort::aPortAnotherProgramHoldsIsNotOpened()
{
    QTemporaryDir links;
    const QString link = links.filePath(QStringLiteral("qzpgm"));
    QVERIFY(QFile::link(m_pty->slavePath(), link));
    HeldDevice other(m_pty->slavePath());
    QVERIFY(other.isHolding());
    for (const QString& path : {m_pty->slavePath(), link}) {
        m_port->setDevicePath(path);
        QString reason;
        QVERIFY2(!m_port->open(&reason), qPrintable(path));
        QVERIFY(!m_port->isOpen());
        const PortOpenFailure failure = m_port->openFailure();
        QCOMPARE(failure.kind, PortOpenFailure::Kind::InUse);
        QCOMPARE(failure.holder, QStringLiteral("sleep (PID %1)").arg(other.pid()));
        QVERIFY(portFailureText(failure).contains(failure.holder));
    }
}

void TestQtSerialPort::failureTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("notYetActive");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("permission, group known")
        << int(PortOpenFailure::Kind::PermissionDenied) << "uucp"
        << "alice" << false
        << QStringList{"COM2 (/dev/ttyUSB1): Permission denied", "「uucp」", "dialout",
                       "sudo usermod -aG uucp alice"};
    QTest::newRow("permission, group and user unknown")
        << int(PortOpenFailure::Kind::PermissionDenied) << ""
        << "" << false << QStringList{"「dialout」", "sudo usermod -aG dialout $USER"};
    QTest::newRow("permission, joined but not logged in again")
        << int(PortOpenFailure::Kind::PermissionDenied) << "dialout"
        << "alice" << true << QStringList{"alice", "「dialout」", "ログインし直してください"};
    QTest::newRow("not found") << int(PortOpenFailure::Kind::NotFound) << ""
                               << "" << false
                               << QStringList{"/dev/ttyUSB(n-1)", "［デバイス...］",
                                              "[Ports] に COM2="};
    QTest::newRow("in use") << int(PortOpenFailure::Kind::InUse) << ""
                            << "" << false << QStringList{"他のプログラムが使用中"};
}

void TestQtSerialPort::failureTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, group);
    QFETCH(QString, user);
    QFETCH(bool, notYetActive);
    QFETCH(QStringList, expected);
    PortOpenFailure failure;
    failure.kind = static_cast<PortOpenFailure::Kind>(kind);
    failure.portNumber = 2;
    failure.devicePath = QStringLiteral("/dev/ttyUSB1");
    failure.systemReason = QStringLiteral("Permission denied");
    failure.deviceGroup = group;
    failure.userName = user;
    failure.memberNotYetActive = notYetActive;
    const QString text = portFailureText(failure);
    for (const QString& part : expected) QVERIFY2(text.contains(part), qPrintable(text));
    if (failure.kind == PortOpenFailure::Kind::PermissionDenied) {
        // Someone already in the group needs a new login, not the command.
        QCOMPARE(text.contains(QStringLiteral("usermod")), !notYetActive);
    }
    // A place that names the device already shows the rest.
    QVERIFY(text.startsWith(QStringLiteral("COM2 (/dev/ttyUSB1): ")));
    QVERIFY(portFailureDetail(failure).startsWith(QStringLiteral("Permission denied\n\n")));
}

void TestQtSerialPort::groupMembershipOfThisUser()
{
    // The user's own primary group is listed and carried; a group that does not exist is not.
    QProcess id;
    id.start(QStringLiteral("id"), {QStringLiteral("-gn")});
    QVERIFY(id.waitForFinished());
    const QString primary = QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed();
    const GroupMembership own = GroupMembership::of(primary);
    QVERIFY(!own.userName.isEmpty());
    QVERIFY(own.listed && own.active);
    const GroupMembership none = GroupMembership::of(QStringLiteral("vorle-no-such-group"));
    QCOMPARE(none.userName, own.userName);
    QVERIFY(!none.listed && !none.active);
}

void TestQtSerialPort::portNumbersMapToDevices()
{
    QCOMPARE(PortDevices::defaultDevicePath(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(PortDevices::defaultDevicePath(20), QStringLiteral("/dev/ttyUSB19"));
    const PortDevices devices(*m_settings);
    QCOMPARE(devices.devicePath(3), m_pty->slavePath());
    QCOMPARE(devices.devicePath(5), QStringLiteral("/dev/ttyUSB4"));
    route(5, QStringLiteral("  /dev/ttyACM0 "));
    QCOMPARE(devices.devicePath(5), QStringLiteral("/dev/ttyACM0"));
    route(5, QStringLiteral(""));
    QCOMPARE(devices.devicePath(5), QStringLiteral("/dev/ttyUSB4"));
}

void TestQtSerialPort::closedPortIsInert()
{
    m_port->write("?");
    QCOMPARE(m_port->receivedCount(), 0);
    QCOMPARE(m_port->takeAll(), QByteArray());
    m_port->discard();
    m_port->close();
    QCOMPARE(m_pty->receive(1, 100ms), QByteArray());
}

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
