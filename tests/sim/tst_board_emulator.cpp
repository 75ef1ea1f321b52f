// qzpgm-sim over a real pseudo-terminal, driven through the program's own serial port.
#include "base/SettingsStore.h"
#include "link/PortDevices.h"
#include "link/QtSerialPort.h"
#include "support/PortWait.h"
#include "support/SimProcess.h"
#include "support/TestEnvironment.h"
#include "support/TestPty.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

const QByteArray kIdentification("QZ-PGM Ver 6.00\r\n");
// How long a test waits for an answer the fault is meant to withhold; long enough that a
// busy machine does not pass for a silent board.
constexpr auto kShortLook = 1500ms;

QByteArray pattern(int size, int seed = 0)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((i * 13 + seed) & 0xFF));
    return bytes;
}

QByteArray addressPacket(int chunk, int family, int param, qint64 address)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(chunk));
    bytes.append(static_cast<char>(family == 3 ? param : (address >> 16) & 0xFF));
    bytes.append(static_cast<char>((address >> 8) & 0xFF));
    bytes.append(static_cast<char>(address & 0xFF));
    return bytes;
}

// The PC end: the program's serial port, pointed at the emulator, and the board commands
// written out plainly (the production protocol is tested on its own).
class Pc {
public:
    explicit Pc(const QString& device) { m_port.setDevicePath(device); }

    QtSerialPort& port() { return m_port; }
    bool open() { return m_port.open(); }

    // Sends `bytes` and collects what comes until `count` bytes are there or `limit` passes.
    QByteArray ask(const QByteArray& bytes, int count, std::chrono::milliseconds limit = 20s)
    {
        m_port.write(bytes);
        waitForReceived(m_port, count, limit);
        return m_port.takeAll();
    }

    QByteArray identify()
    {
        m_port.discard();
        return ask("?", 17);
    }

    QByteArray prepare(int family, std::chrono::milliseconds limit = 20s)
    {
        m_port.discard();
        m_port.write("E");
        return ask(QByteArray("e") + char('0' + family) + 'P', 1, limit);
    }

    void header(int family, char letter, int chunk, qint64 start, qint64 end, int param)
    {
        m_port.discard();
        m_port.write("E");
        m_port.write(QByteArray("e") + char('0' + family) + letter);
        m_port.write(addressPacket(chunk, family, param, start));
        m_port.write(addressPacket(chunk, family, param, end));
    }

    // A whole read; stops at the first short chunk.
    QByteArray read(int family, char letter, int chunk, qint64 start, int count, int param = 0,
                    std::chrono::milliseconds limit = 20s)
    {
        if (prepare(family) != "P") return "no preparation answer";
        header(family, letter, chunk, start, start + count - 1, param);
        QByteArray data;
        while (data.size() < count) {
            if (!waitForReceived(m_port, chunk, limit)) {
                data += m_port.takeAll();
                break;
            }
            data += m_port.takeAll().left(chunk);
            m_port.discard();
            m_port.write("@");
        }
        return data;
    }

    // A whole write: each chunk after the board's ready byte. Returns the ready answers.
    QList<QByteArray> write(int family, char letter, int chunk, qint64 start,
                            const QByteArray& data, int param = 0,
                            std::chrono::milliseconds limit = 20s)
    {
        QList<QByteArray> readies;
        if (prepare(family) != "P") return readies;
        header(family, letter, chunk, start, start + data.size() - 1, param);
        for (qsizetype at = 0; at < data.size(); at += chunk) {
            if (!waitForReceived(m_port, 1, limit)) break;
            readies.append(m_port.takeAll());
            if (!readies.last().startsWith('@')) break;
            m_port.write(data.mid(at, chunk));
        }
        return readies;
    }

private:
    QtSerialPort m_port;
};

// Waits until the emulator's log holds `count` bytes from the PC (it has seen them).
bool waitForPcBytes(const SimProcess& sim, int count)
{
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (sim.fromPc().size() >= count) return true;
        QTest::qWait(10);
    }
    return false;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestBoardEmulator : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void identifiesItselfInEveryOpenCloseCycle();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void keepsContentsInTheImageFile();
    void aStoppedWriteHoldsTheBoard_data();
    void aStoppedWriteHoldsTheBoard();
    void logRecordsTheExactExchange();
    void pacesBytesAtTheLineRate();

    void faultWrongReady();
    void faultGarbageAndExtraBytes();
    void faultLineDroppedInRead();
    void faultHangUpReplacesTheLine();

    void onceEndsAtTheFirstClose();
    void refusesToReplaceARealFile();
    void servesAnExistingTtyUntilItHangsUp();
    void rejectsBadOptions_data();
    void rejectsBadOptions();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// The emulator answers each of the program's openings, and names the firmware it is told.
void TestBoardEmulator::identifiesItselfInEveryOpenCloseCycle()
{
    SimProcess sim(SimProcess::shippedData() + QStringList{"--device", "24C02"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    for (int cycle = 0; cycle < 3; ++cycle) {
        QVERIFY(pc.open());
        QCOMPARE(pc.identify(), kIdentification);
        pc.port().close();
    }
    QVERIFY(sim.isRunning());
    // The emulator notices closes on its own time; on a busy machine that can lag behind.
    QTRY_COMPARE_WITH_TIMEOUT(sim.events().count("port closed"), 3, 20000);
    QCOMPARE(sim.stop(), 0);

    SimProcess old(QStringList{"--size-exponent", "7", "--family", "3", "--firmware", "5.10"});
    QVERIFY2(old.isRunning(), qPrintable(old.errorText()));
    Pc oldPc(old.devicePath());
    QVERIFY(oldPc.open());
    QCOMPARE(oldPc.identify(), QByteArray("QZ-PGM Ver 5.10\r\n"));
}

void TestBoardEmulator::readsBackWhatWasWritten_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("family");
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("param");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<int>("count");
    QTest::newRow("24C02, W, page 8") << "24C02" << 2 << 'W' << 8 << 0 << qint64{0} << 256;
    QTest::newRow("24C16, W, block bits") << "24C16" << 2 << 'W' << 16 << 0 << qint64{0x700} << 256;
    QTest::newRow("24C64, w") << "24C64" << 2 << 'w' << 16 << 0 << qint64{0x1F00} << 256;
    QTest::newRow("24C1024, w, A16") << "24C1024" << 2 << 'w' << 16 << 0 << qint64{0x1FF00} << 256;
    QTest::newRow("24C00, byte writes") << "24C00" << 2 << 'W' << 1 << 0 << qint64{0} << 16;
    QTest::newRow("AT93C46") << "AT93C46" << 3 << 'W' << 16 << 7 << qint64{0} << 128;
    QTest::newRow("AT93C86") << "AT93C86" << 3 << 'W' << 16 << 11 << qint64{0x700} << 256;
}

void TestBoardEmulator::readsBackWhatWasWritten()
{
    QFETCH(QString, device);
    QFETCH(int, family);
    QFETCH(char, letter);
    QFETCH(int, chunk);
    QFETCH(int, param);
    QFETCH(qint64, start);
    QFETCH(int, count);
    SimProcess sim(SimProcess::shippedData() + QStringList{"--device", device});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.identify(), kIdentification);
    const QByteArray data = pattern(count, family);
    const auto readies = pc.write(family, letter, chunk, start, data, param);
    QCOMPARE(readies.size(), count / chunk);
    for (const QByteArray& ready : readies) QCOMPARE(ready, QByteArray("@"));
    pc.port().close();
    QVERIFY(pc.open());
    const char readLetter = letter == 'W' ? 'R' : 'r';
    QCOMPARE(pc.read(family, readLetter, chunk, start, count, param), data);
}

void TestBoardEmulator::keepsContentsInTheImageFile()
{
    QTemporaryDir folder;
    const QString image = folder.filePath("part.bin");
    {
        SimProcess sim(SimProcess::shippedData() +
                       QStringList{"--device", "24C02", "--image", image});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        QCOMPARE(fileBytes(image), QByteArray(256, char(0xFF)));
        Pc pc(sim.devicePath());
        QVERIFY(pc.open());
        QCOMPARE(pc.write(2, 'W', 8, 0x40, pattern(16)).size(), 2);
        // Each chunk reaches the file once it is programmed, while the emulator runs.
        QTRY_COMPARE_WITH_TIMEOUT(fileBytes(image).mid(0x40, 16), pattern(16), 20000);
        pc.port().close();
        QCOMPARE(sim.stop(), 0);
    }
    QCOMPARE(fileBytes(image).mid(0x40, 16), pattern(16));
    // A later emulator starts from the file.
    SimProcess sim(SimProcess::shippedData() + QStringList{"--device", "24C02", "--image", image});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.read(2, 'R', 8, 0x40, 16), pattern(16));
    // A file of another size is not taken for this part.
    SimProcess wrong(SimProcess::shippedData() +
                     QStringList{"--device", "24C04", "--image", image});
    QVERIFY(!wrong.isRunning());
    QVERIFY2(wrong.errorText().contains("256 bytes"), qPrintable(wrong.errorText()));
}

void TestBoardEmulator::aStoppedWriteHoldsTheBoard_data()
{
    QTest::addColumn<bool>("forgiving");
    QTest::newRow("as the board is") << false;
    QTest::newRow("forgiving") << true;
}

// A write stopped in its second chunk: the board takes the next access's queries as the rest
// of the chunk and programs them, until it is switched off and on (SIGUSR1); a forgiving board
// drops the torn chunk and answers at once.
void TestBoardEmulator::aStoppedWriteHoldsTheBoard()
{
    QFETCH(bool, forgiving);
    QTemporaryDir folder;
    const QString image = folder.filePath("part.bin");
    QStringList arguments =
        SimProcess::shippedData() + QStringList{"--device", "24C02", "--image", image};
    if (forgiving) arguments << "--forgiving";
    SimProcess sim(arguments);
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.prepare(2), QByteArray("P"));
    pc.header(2, 'W', 8, 0, 23, 0);
    QVERIFY(waitForReceived(pc.port(), 1));
    QCOMPARE(pc.port().takeAll(), QByteArray("@"));
    pc.port().write(pattern(8));
    QVERIFY(waitForReceived(pc.port(), 1));
    QCOMPARE(pc.port().takeAll(), QByteArray("@"));
    pc.port().write(pattern(5, 9));
    pc.port().close();
    QVERIFY(waitForPcBytes(sim, 4 + 4 + 8 + 8 + 5));
    QTRY_VERIFY_WITH_TIMEOUT(sim.events().contains("port closed"), 20000);

    QVERIFY(pc.open());
    if (forgiving) {
        QCOMPARE(pc.identify(), kIdentification);
        QCOMPARE(fileBytes(image), pattern(8) + QByteArray(248, char(0xFF)));
        return;
    }
    QCOMPARE(pc.ask("???", 1, kShortLook), QByteArray("@"));
    QCOMPARE(fileBytes(image).left(16), pattern(8) + pattern(5, 9) + "???");
    QCOMPARE(pc.ask("?", 17, kShortLook), QByteArray());
    sim.powerCycle();
    QTRY_VERIFY_WITH_TIMEOUT(sim.events().contains("switched off and on"), 20000);
    QCOMPARE(pc.identify(), kIdentification);
    QCOMPARE(fileBytes(image).mid(16), QByteArray(240, char(0xFF)));
}

void TestBoardEmulator::logRecordsTheExactExchange()
{
    SimProcess sim(SimProcess::shippedData() + QStringList{"--device", "24C02"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.read(2, 'R', 8, 0, 16), QByteArray(16, char(0xFF)));
    pc.port().close();
    QCOMPARE(sim.stop(), 0);
    const QByteArray expectedFromPc =
        QByteArray("Ee2PEe2R") + QByteArray::fromHex("080000000800000F") + "@@";
    QCOMPARE(sim.fromPc(), expectedFromPc);
    QCOMPARE(sim.fromBoard(), QByteArray("P") + QByteArray(16, char(0xFF)));
    static const QRegularExpression line(
        QStringLiteral(R"(^\d+\.\d{6} (([<>]( [0-9A-F]{2})+)|(# .+))$)"));
    for (const QString& text : sim.logLines()) {
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
    }
    QVERIFY(sim.events().contains("read \"R\" family 2 0x000000..0x00000F chunk 8, 2 chunks"));
}

void TestBoardEmulator::pacesBytesAtTheLineRate()
{
    SimProcess sim(SimProcess::shippedData() +
                   QStringList{"--device", "24C02", "--baud", "57600", "--ready-after-last"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.identify(), kIdentification);
    QCOMPARE(pc.write(2, 'W', 8, 0, pattern(16)).size(), 2);
    // Told to, the board answers the last chunk too.
    QVERIFY(waitForReceived(pc.port(), 1));
    QCOMPARE(pc.port().takeAll(), QByteArray("@"));
    pc.port().close();
    QCOMPARE(sim.stop(), 0);

    // 17 bytes of 10 bits at 57600 bit/s take 2.95 ms from the query on; a busy machine only
    // makes it longer.
    double queryTime = -1;
    double lastIdentificationByte = -1;
    double lastChunkSeen = -1;
    double lastReply = -1;
    int replyBytes = 0;
    for (const QString& text : sim.logLines()) {
        const double seconds = text.section(' ', 0, 0).toDouble();
        const QString direction = text.section(' ', 1, 1);
        const int bytes = text.section(' ', 2).split(' ').size();
        if (direction == ">") {
            if (queryTime < 0) queryTime = seconds;
            lastChunkSeen = seconds;
        } else if (direction == "<") {
            replyBytes += bytes;
            if (replyBytes >= 17 && lastIdentificationByte < 0) lastIdentificationByte = seconds;
            lastReply = seconds;
        }
    }
    QVERIFY(queryTime >= 0 && lastIdentificationByte >= 0);
    QVERIFY2(lastIdentificationByte - queryTime >= 16 * 10 / 57600.0,
             qPrintable(QString::number(lastIdentificationByte - queryTime)));
    // The answer to the last chunk waits for the page to be programmed (5 ms for the 24C02).
    QVERIFY2(lastReply - lastChunkSeen >= 0.005,
             qPrintable(QString::number(lastReply - lastChunkSeen)));
}

void TestBoardEmulator::faultWrongReady()
{
    SimProcess sim(
        QStringList{"--size-exponent", "8", "--family", "2", "--fault", "wrong-ready@2"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    const auto readies = pc.write(2, 'W', 8, 0, pattern(24));
    QCOMPARE(readies, (QList<QByteArray>{"@", "!@"}));
}

void TestBoardEmulator::faultGarbageAndExtraBytes()
{
    SimProcess sim(QStringList{"--size-exponent", "8", "--family", "2", "--fault", "garbage@1",
                               "--fault", "extra@2"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    Pc pc(sim.devicePath());
    QVERIFY(pc.open());
    QCOMPARE(pc.prepare(2), QByteArray("P"));
    pc.header(2, 'R', 8, 0, 15, 0);
    QVERIFY(waitForReceived(pc.port(), 16));
    QCOMPARE(pc.port().takeAll(),
             QByteArray::fromHex("00FF55AA7E813CC3") + QByteArray(8, char(0xFF)));
    pc.port().write("@");
    QVERIFY(waitForReceived(pc.port(), 12));
    QCOMPARE(pc.port().takeAll(), QByteArray(8, char(0xFF)) + QByteArray::fromHex("11223344"));
    pc.port().write("@");
    pc.port().close();

    QVERIFY(pc.open());
    const auto readies = pc.write(2, 'W', 8, 0, pattern(16));
    QCOMPARE(readies.size(), 1);
    QVERIFY(readies.first().startsWith(QByteArray::fromHex("00FF55AA7E813CC3")));
}

void TestBoardEmulator::faultLineDroppedInRead()
{
    QTemporaryDir folder;
    const QString link = folder.filePath("board");
    SimProcess sim(
        QStringList{"--size-exponent", "8", "--family", "2", "--link", link, "--fault", "drop@2"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QVERIFY(QFileInfo(link).isSymLink());
    Pc pc(link);
    QVERIFY(pc.open());
    QCOMPARE(pc.read(2, 'R', 16, 0, 64, 0, kShortLook), QByteArray(24, char(0xFF)));
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(sim.events().contains("line dropped"));
    pc.port().close();
}

// A hang-up in the middle of a read chunk: the pseudo-terminal goes and a new one takes its
// place behind the link, where the board answers as before. A link left by an emulator that
// was killed is replaced at the start; a stop by signal removes the link.
void TestBoardEmulator::faultHangUpReplacesTheLine()
{
    QTemporaryDir folder;
    const QString link = folder.filePath("board");
    QVERIFY(QFile::link("/dev/nonexistent-pts", link));
    SimProcess sim(
        {"--size-exponent", "8", "--family", "2", "--link", link, "--fault", "hangup@2"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    const QString first = QFile::symLinkTarget(link);
    QCOMPARE(first, sim.devicePath());
    Pc pc(link);
    QVERIFY(pc.open());
    QCOMPARE(pc.read(2, 'R', 16, 0, 64, 0, kShortLook), QByteArray(24, char(0xFF)));
    // The emulator says so: the new line may take the old one's number, and then the link
    // looks the same.
    QTRY_VERIFY_WITH_TIMEOUT(!sim.events().filter("line hung up; new pseudo-terminal").isEmpty(),
                             20000);
    pc.port().close();
    Pc again(link);
    QVERIFY(again.open());
    QCOMPARE(again.identify(), kIdentification);
    QVERIFY(sim.isRunning());
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestBoardEmulator::onceEndsAtTheFirstClose()
{
    QTemporaryDir folder;
    const QString link = folder.filePath("board");
    SimProcess sim(QStringList{"--size-exponent", "8", "--family", "2", "--link", link, "--once"});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QTest::qWait(100);
    QVERIFY2(sim.isRunning(), "no program opened the line yet");
    Pc pc(link);
    QVERIFY(pc.open());
    QCOMPARE(pc.identify(), kIdentification);
    pc.port().close();
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

void TestBoardEmulator::refusesToReplaceARealFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("notes.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    SimProcess sim(QStringList{"--size-exponent", "8", "--family", "2", "--link", path});
    QVERIFY(!sim.isRunning());
    QCOMPARE(sim.exitCode(), 2);
    QCOMPARE(fileBytes(path), QByteArray("keep me"));
}

void TestBoardEmulator::servesAnExistingTtyUntilItHangsUp()
{
    auto pty = std::make_unique<TestPty>();
    QVERIFY(pty->isValid());
    SimProcess sim(
        QStringList{"--size-exponent", "8", "--family", "2", "--port", pty->slavePath()});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    QCOMPARE(sim.devicePath(), pty->slavePath());
    pty->send("?");
    QCOMPARE(pty->receive(17), kIdentification);
    pty.reset();
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(sim.events().contains("peer gone"));
}

void TestBoardEmulator::rejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no part") << QStringList{} << "name the part";
    QTest::newRow("unknown device")
        << (SimProcess::shippedData() + QStringList{"--device", "X"}) << "no device named X";
    QTest::newRow("family 4") << QStringList{"--size-exponent", "8", "--family", "4"} << "family 4";
    QTest::newRow("size") << QStringList{"--size-exponent", "18", "--family", "2"}
                          << "size exponent 18";
    QTest::newRow("firmware") << QStringList{"--size-exponent", "8",  "--family", "2",
                                             "--firmware",      "6.0"}
                              << "four characters";
    QTest::newRow("fault") << QStringList{"--size-exponent", "8",   "--family", "2",
                                          "--fault",         "fire"}
                           << "unknown";
    QTest::newRow("baud") << QStringList{"--size-exponent", "8", "--family", "2", "--baud", "0"}
                          << "positive";
}

void TestBoardEmulator::rejectsBadOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    SimProcess sim(arguments);
    QVERIFY(!sim.isRunning());
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY2(sim.errorText().contains(message), qPrintable(sim.errorText()));
}

QTEST_GUILESS_MAIN(TestBoardEmulator)
#include "tst_board_emulator.moc"
