// Finding the board's port without a window: the devices present and their stable links, the
// numbers that lead to them, who holds a device, and the search that asks each device in turn,
// in fake time and over pseudo-terminals standing in for adapters.
#include "base/SettingsStore.h"
#include "link/BoardFinder.h"
#include "link/PortDevices.h"
#include "link/PortDirectory.h"
#include "link/PortHolders.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"
#include "link/gui/PortDeviceSummary.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/FakeSerialPort.h"
#include "support/HeldDevice.h"
#include "support/ScriptedSerialDevices.h"
#include "support/SimProcess.h"
#include "support/TestEnvironment.h"
#include "support/TestPty.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;
using namespace SettingsKeys;
using Kind = BoardSearch::Probe::Kind;

Q_DECLARE_METATYPE(Kind)

namespace {

const QString kStableName = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

// A process number that no process has: one that has just ended.
qint64 endedPid()
{
    QProcess process;
    process.start(QStringLiteral("/bin/true"));
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

}  // namespace

class TestPortFinding : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void presentDevicesCarryTheirStableLinks();
    void searchOrderAsksEachDeviceOnce();
    void numberForAFoundDevice_data();
    void numberForAFoundDevice();
    void lockFiles_data();
    void lockFiles();
    void qtSerialPortLockIsSeen();
    void aProcessWithTheDeviceOpenHoldsIt();
    void searchFindsTheBoardAmongOtherDevices();
    void searchWithoutABoardAsksEveryDevice();
    void cancelEndsTheSearch();
    void probeTexts_data();
    void probeTexts();
    void searchOverPseudoTerminals();

private:
    [[nodiscard]] QString stableLink() const { return m_stable.filePath(kStableName); }
    // Numbers 1 to `last` lead nowhere unless the test points them somewhere (each stored
    // value is written through to disk, so a test stores no more than it needs).
    void pointPortsNowhere(int last = 20)
    {
        for (int number = 1; number <= last; ++number) {
            m_settings->save(kPorts, portKey(number),
                             QStringLiteral("/nonexistent/tty%1").arg(number));
        }
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<SettingsStore> m_settings;
    QTemporaryDir m_folder;
    QDir m_stable;
    QDir m_locks;
    TestPty m_ptyA;
    TestPty m_ptyB;
    TestPty m_ptyC;
};

void TestPortFinding::init()
{
    m_env = std::make_unique<TestEnvironment>(false);
    m_settings = std::make_unique<SettingsStore>();
    QVERIFY(m_ptyA.isValid() && m_ptyB.isValid() && m_ptyC.isValid());
    QDir folder(m_folder.path());
    folder.mkpath(QStringLiteral("by-id"));
    folder.mkpath(QStringLiteral("lock"));
    m_stable = QDir(folder.filePath(QStringLiteral("by-id")));
    m_locks = QDir(folder.filePath(QStringLiteral("lock")));
    for (const QString& name : m_stable.entryList(QDir::System | QDir::Files))
        m_stable.remove(name);
    for (const QString& name : m_locks.entryList(QDir::Files)) m_locks.remove(name);
    QVERIFY(QFile::link(m_ptyA.slavePath(), stableLink()));
}

void TestPortFinding::cleanup()
{
    m_settings.reset();
    m_env.reset();
}

void TestPortFinding::presentDevicesCarryTheirStableLinks()
{
    ScriptedSerialDevices devices;
    devices.setStableFolder(m_stable.path());
    devices.add(m_ptyB.slavePath())
        .add(m_ptyA.slavePath(), "FTDI", "FT232R USB UART", "A50285BI")
        .add(QStringLiteral("/nonexistent/ttyUSB9"));
    const QList<SerialDevice> present = devices.present();
    QCOMPARE(present.size(), 3);
    // In path order.
    QCOMPARE(present.last().path, QStringLiteral("/nonexistent/ttyUSB9"));
    QVERIFY(!present.last().exists);
    const SerialDevice adapter = SerialDevices::describe(m_ptyA.slavePath(), present);
    QVERIFY(adapter.exists);
    QCOMPARE(adapter.stablePath, stableLink());
    QCOMPARE(adapter.preferredPath(), stableLink());
    QCOMPARE(adapter.maker, QStringLiteral("FTDI"));
    const SerialDevice plain = SerialDevices::describe(m_ptyB.slavePath(), present);
    QVERIFY(plain.exists && plain.stablePath.isEmpty());
    QCOMPARE(plain.preferredPath(), m_ptyB.slavePath());

    // A link anywhere leads to the device it points at.
    QCOMPARE(SerialDevices::describe(stableLink(), present).serialNumber,
             QStringLiteral("A50285BI"));
    const QString otherLink = m_folder.filePath(QStringLiteral("qzpgm"));
    QVERIFY(QFile::link(m_ptyB.slavePath(), otherLink));
    QCOMPARE(SerialDevices::describe(otherLink, present).path, m_ptyB.slavePath());
    // Nothing there: just the path.
    const SerialDevice missing = SerialDevices::describe(QStringLiteral("/dev/ttyUSB77"), present);
    QCOMPARE(missing.path, QStringLiteral("/dev/ttyUSB77"));
    QVERIFY(!missing.exists && !missing.hasUsbStrings());
}

void TestPortFinding::searchOrderAsksEachDeviceOnce()
{
    pointPortsNowhere();
    m_settings->save(kPorts, portKey(1), m_ptyA.slavePath());
    m_settings->save(kPorts, portKey(3), m_ptyB.slavePath());
    m_settings->save(kPorts, portKey(4), stableLink());  // port 1's device again
    m_settings->save(kSettings, kRts, QStringLiteral("0"));
    m_settings->save(kSettings, kDtr, QStringLiteral("1"));
    ScriptedSerialDevices devices;
    devices.setStableFolder(m_stable.path());
    devices.add(m_ptyA.slavePath()).add(m_ptyC.slavePath()).add(QStringLiteral("/nonexistent/x"));
    const PortDirectory directory(*m_settings, devices.present());

    const QList<LinkSettings> order = directory.searchOrder(3);
    QStringList seen;
    for (const LinkSettings& link : order) {
        seen.append(QStringLiteral("%1=%2").arg(link.portNumber).arg(link.devicePath));
        QVERIFY(!link.rts && link.dtr);
    }
    QCOMPARE(seen, (QStringList{"3=" + m_ptyB.slavePath(), "1=" + m_ptyA.slavePath(),
                                "0=" + m_ptyC.slavePath()}));
}

void TestPortFinding::numberForAFoundDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("preferred");
    QTest::addColumn<int>("expected");
    // Port 1 leads to A by its stable link, port 3 to B, port 2 and 4 to nothing.
    QTest::newRow("a number leads to it") << "A" << 4 << 1;
    QTest::newRow("by its link too") << "A-link" << 4 << 1;
    QTest::newRow("the preferred one leads to it") << "B" << 3 << 3;
    QTest::newRow("unmapped, preferred leads nowhere") << "C" << 4 << 4;
    QTest::newRow("unmapped, preferred is taken") << "C" << 3 << 2;
}

void TestPortFinding::numberForAFoundDevice()
{
    QFETCH(QString, device);
    QFETCH(int, preferred);
    QFETCH(int, expected);
    pointPortsNowhere(4);
    m_settings->save(kPorts, portKey(1), stableLink());
    m_settings->save(kPorts, portKey(3), m_ptyB.slavePath());
    const QHash<QString, QString> paths{{"A", m_ptyA.slavePath()},
                                        {"A-link", stableLink()},
                                        {"B", m_ptyB.slavePath()},
                                        {"C", m_ptyC.slavePath()}};
    PortDirectory directory(*m_settings, {});
    QCOMPARE(directory.numberFor(paths.value(device), preferred), expected);

    // Storing the device for the number leaves the other numbers alone.
    directory.assign(expected, QStringLiteral(" %1 ").arg(paths.value(device)));
    QCOMPARE(PortDevices(*m_settings).devicePath(expected), paths.value(device));
    QCOMPARE(directory.devicePath(3), m_ptyB.slavePath());
    directory.assign(expected, QString());
    QVERIFY(!directory.isOverridden(expected));
    QCOMPARE(directory.devicePath(expected), PortDevices::defaultDevicePath(expected));
}

void TestPortFinding::lockFiles_data()
{
    QTest::addColumn<QString>("name");  // %1: the pty's name below /dev with '_', %2: its node name
    QTest::addColumn<QByteArray>("contents");  // %1: the process number
    QTest::addColumn<QString>("pid");          // "own", "ended", "none"
    QTest::addColumn<bool>("held");
    QTest::newRow("Qt's lock, running")
        << "LCK..%1" << QByteArray("%1\ntst_port_finding\nhost\n") << "own" << true;
    QTest::newRow("Qt's lock, process ended")
        << "LCK..%1" << QByteArray("%1\ntst_port_finding\nhost\n") << "ended" << false;
    QTest::newRow("Qt's lock, number taken by another program")
        << "LCK..%1" << QByteArray("%1\nminicom\nhost\n") << "own" << false;
    QTest::newRow("UUCP lock, padded") << "LCK..%2" << QByteArray("      %1\n") << "own" << true;
    QTest::newRow("binary number") << "LCK..%2" << QByteArray() << "own" << true;
    QTest::newRow("names no process") << "LCK..%1" << QByteArray("locked\n") << "none" << true;
    QTest::newRow("through the stable link") << "stable" << QByteArray("%1\n") << "own" << true;
    QTest::newRow("another device's lock")
        << "LCK..ttyUSB42" << QByteArray("%1\n") << "own" << false;
}

void TestPortFinding::lockFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, pid);
    QFETCH(bool, held);
    const QString slave = m_ptyA.slavePath();
    const qint64 number = pid == "own" ? QCoreApplication::applicationPid() : endedPid();
    QString fileName = name;
    fileName.replace("%1", slave.mid(5).replace('/', '_'))
        .replace("%2", QFileInfo(slave).fileName());
    if (name == "stable") {
        fileName = QStringLiteral("LCK..") + stableLink().replace('/', '_');
    }
    if (contents.isEmpty()) {
        const auto binary = static_cast<qint32>(number);
        contents = QByteArray(reinterpret_cast<const char*>(&binary), sizeof binary);
    } else {
        contents.replace("%1", QByteArray::number(number));
    }
    writeFile(m_locks.filePath(fileName), contents);

    PortHolders holders;
    holders.setLockFolders({m_locks.path()});
    holders.setAliasFolders({m_stable.path()});
    const std::optional<PortHolders::Holder> holder = holders.holderOf(slave);
    QCOMPARE(holder.has_value(), held);
    if (!holder) return;
    QCOMPARE(holder->lockFile, m_locks.filePath(fileName));
    if (pid == "none") {
        QCOMPARE(holder->pid, 0);
        QCOMPARE(PortHolders::describe(*holder), m_locks.filePath(fileName));
    } else {
        QCOMPARE(holder->pid, number);
        QCOMPARE(holder->program, QStringLiteral("tst_port_finding"));
    }
    // Asked by its stable link, the device is held all the same.
    QVERIFY(holders.holderOf(stableLink()).has_value());
}

void TestPortFinding::qtSerialPortLockIsSeen()
{
    // The lock of a port this program opens with Qt Serial Port, in the system's own folders.
    PortHolders holders;
    QVERIFY(!holders.holderOf(m_ptyB.slavePath()));
    QSerialPort port(m_ptyB.slavePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    const std::optional<PortHolders::Holder> holder = holders.holderOf(m_ptyB.slavePath());
    QVERIFY(holder.has_value());
    QCOMPARE(holder->pid, QCoreApplication::applicationPid());
    QVERIFY2(holder->lockFile.endsWith(QStringLiteral("LCK..") +
                                       m_ptyB.slavePath().mid(5).replace('/', '_')),
             qPrintable(holder->lockFile));
    port.close();
    QVERIFY(!holders.holderOf(m_ptyB.slavePath()));
}

void TestPortFinding::aProcessWithTheDeviceOpenHoldsIt()
{
    PortHolders holders;
    holders.setLockFolders({m_locks.path()});
    holders.setAliasFolders({m_stable.path()});
    QVERIFY(!holders.holderOf(m_ptyA.slavePath()));
    {
        HeldDevice other(m_ptyA.slavePath());
        QVERIFY(other.isHolding());
        for (const QString& path : {m_ptyA.slavePath(), stableLink()}) {
            const std::optional<PortHolders::Holder> holder = holders.holderOf(path);
            QVERIFY(holder.has_value());
            QCOMPARE(holder->pid, other.pid());
            QCOMPARE(holder->program, QStringLiteral("sleep"));
            QVERIFY(holder->lockFile.isEmpty());
            QCOMPARE(PortHolders::describe(*holder),
                     QStringLiteral("sleep (PID %1)").arg(other.pid()));
        }
        QVERIFY(!holders.holderOf(m_ptyB.slavePath()));
    }
    QVERIFY(!holders.holderOf(m_ptyA.slavePath()));
    // Every process has /dev/null open; it is no port, and nobody holds it as one.
    QFile null(QStringLiteral("/dev/null"));
    QVERIFY(null.open(QIODevice::ReadOnly));
    QVERIFY(!holders.holderOf(null.fileName()));
}

// The devices of a search in fake time: a silent one, one that talks garbage, one whose open
// fails, one held by another program, and the emulated board.
struct FakeDevices {
    explicit FakeDevices(const QString& lockFolder)
    {
        holders.setLockFolders({lockFolder});
        holders.setAliasFolders({});
        boards.add("/dev/fake/board", EmulatedBoards::part("24C64"));
        boards.add("/dev/fake/second", EmulatedBoards::part("24C64"));
        boards.add("/dev/fake/unplugged", EmulatedBoards::part("24C64"));
        boards.add("/dev/fake/old", EmulatedBoards::part("24C64"),
                   EmulatedBoards::faults({}, "5.10"));
        finder.setProgress([this](const LinkSettings& link) { asked.append(link.devicePath); });
    }

    std::unique_ptr<SerialPort> make(const QString& path)
    {
        made.append(path);
        if (path.endsWith("board") || path.endsWith("second") || path.endsWith("old") ||
            path.endsWith("unplugged")) {
            auto port = std::make_unique<EmulatedPort>(boards);
            ports.append(port.get());
            if (path.endsWith("unplugged")) {
                // Pulled out while the first query's answer is awaited.
                clock.after(20ms, [pulled = QPointer<EmulatedPort>(port.get())] {
                    if (pulled) pulled->pullOut();
                });
            }
            return port;
        }
        auto port = std::make_unique<FakeSerialPort>();
        FakeSerialPort* fake = port.get();
        ports.append(fake);
        if (path.endsWith("garbage")) {
            fake->onWrite = [fake](const QByteArray&) {
                fake->deliverLater(
                    "\x01"
                    "noise noise noise noise");
            };
        }
        if (path.endsWith("missing")) {
            fake->openSucceeds = false;
            fake->openFailureReason = QStringLiteral("No such file or directory");
        }
        return port;
    }

    static LinkSettings at(const QString& name, int portNumber = 0)
    {
        LinkSettings link;
        link.portNumber = portNumber;
        link.devicePath = QStringLiteral("/dev/fake/") + name;
        return link;
    }

    FakeLinkClock clock;
    EmulatedBoards boards{clock};
    PortHolders holders;
    BoardFinder finder{[this](const QString& path) { return make(path); }, clock, holders};
    QStringList made;
    QStringList asked;
    QList<QPointer<SerialPort>> ports;
};

void TestPortFinding::searchFindsTheBoardAmongOtherDevices()
{
    writeFile(m_locks.filePath("LCK..fake_held"),
              QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    FakeDevices f(m_locks.path());
    const LinkClock::Duration start = f.clock.now();
    const BoardSearch search =
        f.finder.find({f.at("silent", 1), f.at("garbage"), f.at("held"), f.at("missing", 2),
                       f.at("board", 3), f.at("second")});
    const LinkClock::Duration took = f.clock.now() - start;

    QList<Kind> kinds;
    for (const BoardSearch::Probe& probe : search.probes) kinds.append(probe.kind);
    QCOMPARE(kinds, (QList<Kind>{Kind::NoAnswer, Kind::OtherAnswer, Kind::Held, Kind::Unusable,
                                 Kind::Board}));
    QVERIFY(!search.cancelled);
    QVERIFY(search.board());
    QCOMPARE(search.board()->link.devicePath, QStringLiteral("/dev/fake/board"));
    QCOMPARE(search.board()->link.portNumber, 3);
    QCOMPARE(search.board()->detail, QStringLiteral("QZ-PGM Ver 6.00"));
    QCOMPARE(search.probes.at(0).detail, QStringLiteral("0"));
    QVERIFY(search.probes.at(1).detail.contains(QStringLiteral("noise")));
    QVERIFY(search.probes.at(2).detail.contains(QStringLiteral("tst_port_finding (PID")));
    QCOMPARE(search.probes.at(3).detail, QStringLiteral("No such file or directory"));

    // The held device was never opened, nothing after the board was asked, and every port
    // that was opened is closed again.
    QCOMPARE(f.made, (QStringList{"/dev/fake/silent", "/dev/fake/garbage", "/dev/fake/missing",
                                  "/dev/fake/board"}));
    QVERIFY(!f.asked.contains("/dev/fake/second"));
    QVERIFY(f.boards.at("/dev/fake/second")->fromPc().isEmpty());
    QCOMPARE(f.boards.at("/dev/fake/board")->fromPc(), QByteArray("??"));
    for (const QPointer<SerialPort>& port : f.ports) QVERIFY(!port);
    // Only the silent device costs the probe limit.
    QVERIFY2(took > BoardFinder::kProbeLimit && took < BoardFinder::kProbeLimit + 300ms,
             qPrintable(QString::number(
                 std::chrono::duration_cast<std::chrono::milliseconds>(took).count())));
}

void TestPortFinding::searchWithoutABoardAsksEveryDevice()
{
    FakeDevices f(m_locks.path());
    f.finder.setProbeLimit(200ms);
    const LinkClock::Duration start = f.clock.now();
    const BoardSearch search =
        f.finder.find({f.at("silent"), f.at("garbage"), f.at("quiet"), f.at("unplugged")});
    QVERIFY(!search.board());
    QCOMPARE(search.probes.size(), 4);
    QCOMPARE(f.asked.size(), 4);
    QCOMPARE(search.probes.last().kind, Kind::LineLost);
    // Two silent devices at 200 ms each, and the 50 ms pause between the queries on each of
    // the four; the unplugged one ends its wait at once.
    const LinkClock::Duration took = f.clock.now() - start;
    QVERIFY(took > 2 * 200ms + 4 * 50ms && took < 2 * 200ms + 4 * 50ms + 50ms);

    // A board with old firmware is the board all the same.
    const BoardSearch old = f.finder.find({f.at("silent"), f.at("old")});
    QVERIFY(old.board());
    QCOMPARE(old.board()->detail, QStringLiteral("QZ-PGM Ver 5.10"));
}

void TestPortFinding::cancelEndsTheSearch()
{
    FakeDevices f(m_locks.path());
    f.clock.after(300ms, [&] { f.finder.cancel(); });
    const BoardSearch search = f.finder.find({f.at("silent"), f.at("board")});
    QVERIFY(search.cancelled);
    QVERIFY(search.probes.isEmpty());
    QVERIFY(!f.finder.running());
    QVERIFY(f.boards.at("/dev/fake/board")->fromPc().isEmpty());
    for (const QPointer<SerialPort>& port : f.ports) QVERIFY(!port);
}

void TestPortFinding::probeTexts_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("expected");
    QTest::newRow("board") << Kind::Board << 3 << "QZ-PGM Ver 6.00"
                           << "COM3 /dev/ttyUSB2: ボード (QZ-PGM Ver 6.00)";
    QTest::newRow("silent") << Kind::NoAnswer << 1 << "0"
                            << "COM1 /dev/ttyUSB0: 応答なし";
    QTest::newRow("short") << Kind::NoAnswer << 1 << "16"
                           << "COM1 /dev/ttyUSB0: 応答が足りません (16 バイト)";
    QTest::newRow("other, unnumbered") << Kind::OtherAnswer << 0
                                       << "OK\r\n\x01"
                                          "AT"
                                       << "/dev/ttyUSB0: 別の機器の応答 (OK...AT)";
    QTest::newRow("held") << Kind::Held << 1 << "minicom (PID 42)"
                          << "COM1 /dev/ttyUSB0: 他のプログラムが使用中のため問い合わせず "
                             "(minicom (PID 42))";
    QTest::newRow("unusable: the reason's first line")
        << Kind::Unusable << 1 << "Permission denied\n\nこのデバイスを使う権限がありません。"
        << "COM1 /dev/ttyUSB0: 開けません (Permission denied)";
}

void TestPortFinding::probeTexts()
{
    QFETCH(Kind, kind);
    QFETCH(int, portNumber);
    QFETCH(QString, detail);
    QFETCH(QString, expected);
    BoardSearch::Probe probe;
    probe.kind = kind;
    probe.link.portNumber = portNumber;
    probe.link.devicePath = portNumber == 3 ? "/dev/ttyUSB2" : "/dev/ttyUSB0";
    probe.detail = detail;
    QCOMPARE(PortDeviceSummary::probeText(probe), expected);
}

void TestPortFinding::searchOverPseudoTerminals()
{
    // Real ports and real time: a held line, a silent one, one that talks without pause, and
    // the board emulator.
    SimProcess sim(SimProcess::shippedData() + QStringList{"--device", "24C64"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    HeldDevice other(m_ptyA.slavePath());
    QVERIFY(other.isHolding());
    QTimer chatter;
    connect(&chatter, &QTimer::timeout, this, [this] { m_ptyC.send("garbage\r\n"); });
    chatter.start(5);

    SteadyLinkClock clock;
    PortHolders holders;
    BoardFinder finder([](const QString&) { return std::make_unique<QtSerialPort>(); }, clock,
                       holders);
    finder.setProbeLimit(250ms);
    const auto link = [](const QString& path, int number) {
        LinkSettings settings;
        settings.portNumber = number;
        settings.devicePath = path;
        return settings;
    };
    const BoardSearch search =
        finder.find({link(m_ptyA.slavePath(), 1), link(m_ptyB.slavePath(), 2),
                     link(m_ptyC.slavePath(), 3), link(sim.devicePath(), 4)});
    chatter.stop();

    QList<Kind> kinds;
    for (const BoardSearch::Probe& probe : search.probes) kinds.append(probe.kind);
    QCOMPARE(kinds, (QList<Kind>{Kind::Held, Kind::NoAnswer, Kind::OtherAnswer, Kind::Board}));
    QCOMPARE(search.board()->link.devicePath, sim.devicePath());
    QVERIFY(search.board()->detail.startsWith(QStringLiteral("QZ-PGM")));
    // The held line heard nothing; the silent one was asked twice.
    QCOMPARE(m_ptyA.receiveAvailable(), QByteArray());
    QCOMPARE(m_ptyB.receiveAvailable(), QByteArray("??"));
    QVERIFY(!holders.holderOf(sim.devicePath()));
}

QTEST_GUILESS_MAIN(TestPortFinding)
#include "tst_port_finding.moc"
