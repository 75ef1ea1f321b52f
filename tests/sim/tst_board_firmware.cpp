// The emulator's firmware and parts without a line: addressing, page buffers, stopped writes,
// faults.
#include "link/AccessPackets.h"
#include "sim/BoardFirmware.h"
#include "sim/FaultPlan.h"
#include "sim/PartMemory.h"
#include "sim/SocketPart.h"

#include <QTest>

#include <memory>

namespace {

QByteArray pattern(int size, int seed = 0)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>(0x11 * (i + 1) + seed));
    return bytes;
}

QByteArray packet(int chunk, int byte1, qint64 address)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(chunk));
    bytes.append(static_cast<char>(byte1));
    bytes.append(static_cast<char>((address >> 8) & 0xFF));
    bytes.append(static_cast<char>(address & 0xFF));
    return bytes;
}

// family 2 packets carry A16..A23 in byte 1
QByteArray i2cPacket(int chunk, qint64 address)
{
    return packet(chunk, (address >> 16) & 0xFF, address);
}

// A board with a part in its socket; `send` returns what the board answers at once.
struct Bench {
    explicit Bench(int family, int sizeExponent, int pageSize = 0,
                   BoardFirmware::Config config = {})
        : socket(*SocketPart::fromGeometry(family, sizeExponent, pageSize, &error)),
          memory(socket.size()),
          firmware(socket, memory, std::move(config))
    {
    }

    QByteArray send(const QByteArray& bytes)
    {
        firmware.receive(bytes);
        QByteArray answer;
        for (const auto& output : firmware.takeOutput()) answer += output.bytes;
        return answer;
    }

    QByteArray cells(qint64 from, int count) const { return memory.bytes().mid(from, count); }

    // A whole write as the program does it; false when the board did not pace it as expected
    // (a ready byte before every chunk, nothing after the last).
    bool write(char letter, int chunk, qint64 start, const QByteArray& data, int byte1 = -1)
    {
        const char digit = familyDigit(socket.family);
        if (send(QByteArray("Ee") + digit + 'P') != "P") return false;
        const qint64 end = start + data.size() - 1;
        const auto first = byte1 < 0 ? i2cPacket(chunk, start) : packet(chunk, byte1, start);
        const auto last = byte1 < 0 ? i2cPacket(chunk, end) : packet(chunk, byte1, end);
        QByteArray answer = send(QByteArray("Ee") + digit + letter + first + last);
        for (qsizetype at = 0; at < data.size(); at += chunk) {
            if (answer != "@") return false;
            answer = send(data.mid(at, chunk));
        }
        return answer.isEmpty();
    }

    QByteArray read(char letter, int chunk, qint64 start, int count, int byte1 = -1)
    {
        const char digit = familyDigit(socket.family);
        send(QByteArray("Ee") + digit + 'P');
        const qint64 end = start + count - 1;
        const auto first = byte1 < 0 ? i2cPacket(chunk, start) : packet(chunk, byte1, start);
        const auto last = byte1 < 0 ? i2cPacket(chunk, end) : packet(chunk, byte1, end);
        QByteArray data = send(QByteArray("Ee") + digit + letter + first + last);
        while (data.size() < count) data += send("@");
        send("@");
        return data;
    }

    QString error;
    SocketPart socket;
    PartMemory memory;
    BoardFirmware firmware;
};

}  // namespace

class TestBoardFirmware : public QObject {
    Q_OBJECT
private slots:
    void identifiesAndPrepares();
    void i2cAddressingByCommandLetter_data();
    void i2cAddressingByCommandLetter();
    void pageWriteWrapsInsideThePage();
    void twoByteAddressOnAOneByteParts();
    void sequentialReadWrapsAtTheEndOfThePart();
    void aStoppedWriteWaitsForItsRange_data();
    void aStoppedWriteWaitsForItsRange();
    void readWaitsForEachRequest();
    void microwireNeedsTheRightAddressWidth();
    void unpreparedBoardDoesNotReachThePart();
    void programmingTimeIsAnnounced();
    void faultsSpoilWhatIsStored();
    void randomFaultsFollowTheSeed();
    void faultPlanParsing_data();
    void faultPlanParsing();
};

void TestBoardFirmware::identifiesAndPrepares()
{
    BoardFirmware::Config config;
    config.firmwareVersion = QStringLiteral("5.10");
    Bench bench(2, 8, 8, config);
    QCOMPARE(bench.send("?"), QByteArray("QZ-PGM Ver 5.10\r\n"));
    QCOMPARE(BoardFirmware::identification(QStringLiteral("6.00")).size(), 15);
    // The opening byte alone is never answered: an answer would land in the data that follows.
    QCOMPARE(bench.send("E"), QByteArray());
    QCOMPARE(bench.send("e3P"), QByteArray("P"));
    QCOMPARE(bench.send("Ee2P"), QByteArray("P"));
    QCOMPARE(bench.send("Ex?"), QByteArray("QZ-PGM Ver 5.10\r\n"));
}

void TestBoardFirmware::i2cAddressingByCommandLetter_data()
{
    QTest::addColumn<int>("sizeExponent");
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<qint64>("address");
    QTest::newRow("24C02 R/W") << 8 << 8 << 'W' << 8 << qint64{0xF8};
    QTest::newRow("24C16 R/W, A8..A10 in block bits") << 11 << 16 << 'W' << 16 << qint64{0x5F0};
    QTest::newRow("24C64 r/w, two address bytes") << 13 << 32 << 'w' << 16 << qint64{0x1230};
    QTest::newRow("24C1024 r/w, A16 in the device address")
        << 17 << 128 << 'w' << 16 << qint64{0x1FFF0};
    QTest::newRow("24C1024 r/w, low half") << 17 << 128 << 'w' << 16 << qint64{0x0FFF0};
}

void TestBoardFirmware::i2cAddressingByCommandLetter()
{
    QFETCH(int, sizeExponent);
    QFETCH(int, pageSize);
    QFETCH(char, letter);
    QFETCH(int, chunk);
    QFETCH(qint64, address);
    Bench bench(2, sizeExponent, pageSize);
    const QByteArray data = pattern(chunk * 2);
    QVERIFY(bench.write(letter, chunk, address - chunk, data));
    QCOMPARE(bench.cells(address - chunk, data.size()), data);
    QCOMPARE(bench.memory.bytes().count(static_cast<char>(0xFF)),
             bench.socket.size() - data.size() + data.count(char(0xFF)));
    const char readLetter = letter == 'W' ? 'R' : 'r';
    QCOMPARE(bench.read(readLetter, chunk, address - chunk, data.size()), data);
}

void TestBoardFirmware::pageWriteWrapsInsideThePage()
{
    Bench bench(2, 8, 8);
    const QByteArray data = pattern(8);
    // Eight bytes from address 4 of an 8-byte page: the last four land at the page's start.
    QVERIFY(bench.write('W', 8, 4, data));
    QCOMPARE(bench.cells(0, 8), data.mid(4) + data.left(4));
    QCOMPARE(bench.cells(8, 1), QByteArray(1, char(0xFF)));

    // Two address bytes (24C64, page 32): 16 bytes from 0x58 wrap to 0x40.
    Bench twoByte(2, 13, 32);
    const QByteArray sixteen = pattern(16, 7);
    QVERIFY(twoByte.write('w', 16, 0x58, sixteen));
    QCOMPARE(twoByte.cells(0x40, 32),
             sixteen.mid(8) + QByteArray(16, char(0xFF)) + sixteen.left(8));
    QCOMPARE(twoByte.cells(0x60, 8), QByteArray(8, char(0xFF)));

    // A byte-write-only part (page 1): every byte of a chunk lands on the same cell.
    Bench byteWrite(2, 4, 1);
    QVERIFY(byteWrite.write('W', 4, 0, pattern(4)));
    QCOMPARE(byteWrite.cells(0, 4), QByteArray(1, pattern(4).at(3)) + QByteArray(3, char(0xFF)));
}

void TestBoardFirmware::twoByteAddressOnAOneByteParts()
{
    // "w" on a 24C02: the part takes the high address byte as its word address and the low
    // one as the first data byte; nine bytes wrap in the 8-byte page.
    Bench bench(2, 8, 8);
    const QByteArray data = pattern(8);
    QVERIFY(bench.write('w', 8, 0x30, data));
    QCOMPARE(bench.cells(0, 8), data.right(1) + data.left(7));
    // "W" on a 24C64 with A8 set: b1 is a chip-select pin there, so the part does not answer.
    Bench twoByte(2, 13, 32);
    QVERIFY(twoByte.write('W', 16, 0x100, pattern(16)));
    QCOMPARE(twoByte.memory.bytes(), QByteArray(8192, char(0xFF)));
    QCOMPARE(twoByte.read('R', 16, 0x100, 16), QByteArray(16, char(0xFF)));
}

void TestBoardFirmware::sequentialReadWrapsAtTheEndOfThePart()
{
    Bench bench(2, 8, 8);
    QVERIFY(bench.write('W', 8, 0, pattern(8)));
    QVERIFY(bench.write('W', 8, 0xF8, pattern(8, 1)));
    QCOMPARE(bench.read('R', 8, 0xFC, 8), pattern(8, 1).mid(4) + pattern(8).left(4));
    // Address bits beyond a two-byte part are ignored: 0x2000 is 0x0000 of a 24C64.
    Bench twoByte(2, 13, 32);
    QVERIFY(twoByte.write('w', 16, 0, pattern(16)));
    QCOMPARE(twoByte.read('r', 16, 0x2000, 16), pattern(16));
}

void TestBoardFirmware::aStoppedWriteWaitsForItsRange_data()
{
    QTest::addColumn<bool>("forgiving");
    QTest::addColumn<bool>("closed");  // else the line went quiet
    QTest::newRow("port closed") << false << true;
    QTest::newRow("line quiet") << false << false;
    QTest::newRow("forgiving, port closed") << true << true;
    QTest::newRow("forgiving, line quiet") << true << false;
}

// A write stopped in its second chunk: the board as it is takes the next access's bytes as the
// rest of the chunk and programs them, until it is switched off and on; a forgiving board drops
// the torn chunk and answers the next identification query.
void TestBoardFirmware::aStoppedWriteWaitsForItsRange()
{
    QFETCH(bool, forgiving);
    QFETCH(bool, closed);
    BoardFirmware::Config config;
    config.forgiving = forgiving;
    Bench bench(2, 8, 8, config);
    QCOMPARE(bench.send("Ee2P"), QByteArray("P"));
    QCOMPARE(bench.send(QByteArray("Ee2W") + i2cPacket(8, 0) + i2cPacket(8, 23)), QByteArray("@"));
    QCOMPARE(bench.send(pattern(8)), QByteArray("@"));
    QCOMPARE(bench.send(pattern(5, 3)), QByteArray());
    QCOMPARE(bench.firmware.inPartialFrame(), forgiving);
    if (closed) {
        bench.firmware.lineClosed();
    } else if (bench.firmware.inPartialFrame()) {
        bench.firmware.lineQuiet();
    }
    if (forgiving) {
        QCOMPARE(bench.send("?"), QByteArray("QZ-PGM Ver 6.00\r\n"));
        QCOMPARE(bench.cells(0, 24), pattern(8) + QByteArray(16, char(0xFF)));
        QVERIFY(bench.firmware.takeEvents().join('\n').contains("torn write chunk 2: 5 of 8"));
        return;
    }
    // The two queries of a detection, and the next one's first: the chunk is complete.
    QCOMPARE(bench.send("?"), QByteArray());
    QCOMPARE(bench.send("?"), QByteArray());
    QCOMPARE(bench.send("?"), QByteArray("@"));
    QCOMPARE(bench.cells(0, 16), pattern(8) + pattern(5, 3) + "???");
    if (closed) {
        QVERIFY(
            bench.firmware.takeEvents().contains("port closed: the write still waits for 11 "
                                                 "bytes"));
    }
    bench.firmware.powerCycle();
    QCOMPARE(bench.send("?"), QByteArray("QZ-PGM Ver 6.00\r\n"));
    QCOMPARE(bench.cells(16, 8), QByteArray(8, char(0xFF)));
}

void TestBoardFirmware::readWaitsForEachRequest()
{
    Bench bench(2, 8, 8);
    bench.send("Ee2P");
    // 21 bytes in chunks of 8: three chunks, the last reaching past the end address.
    QCOMPARE(bench.send(QByteArray("Ee2R") + i2cPacket(8, 0) + i2cPacket(8, 20)).size(), 8);
    QCOMPARE(bench.send("@").size(), 8);
    QCOMPARE(bench.send("@").size(), 8);
    QCOMPARE(bench.send("@"), QByteArray());
    // A new command while a chunk's request is awaited abandons the read.
    QCOMPARE(bench.send(QByteArray("Ee2R") + i2cPacket(8, 0) + i2cPacket(8, 15)).size(), 8);
    QCOMPARE(bench.send("?"), QByteArray("QZ-PGM Ver 6.00\r\n"));
    QCOMPARE(bench.send("@"), QByteArray());
}

void TestBoardFirmware::microwireNeedsTheRightAddressWidth()
{
    Bench bench(3, 9);  // 93C66: 512 bytes, 9 address bits
    const QByteArray data = pattern(32);
    QVERIFY(bench.write('W', 16, 0x1E0, data, 9));
    QCOMPARE(bench.cells(0x1E0, 32), data);
    QCOMPARE(bench.read('R', 16, 0x1E0, 32, 9), data);
    QCOMPARE(bench.read('r', 16, 0x1E0, 32, 9), data);
    // Wrong address width (a 93C46 selected in the program): misframed, nothing moves.
    QCOMPARE(bench.read('R', 16, 0x1E0, 32, 7), QByteArray(32, char(0xFF)));
    QVERIFY(bench.write('W', 16, 0, pattern(16, 5), 7));
    QCOMPARE(bench.cells(0, 16), QByteArray(16, char(0xFF)));
}

void TestBoardFirmware::unpreparedBoardDoesNotReachThePart()
{
    Bench bench(2, 8, 8);
    QVERIFY(bench.write('W', 8, 0, pattern(8)));
    // Prepared for Microwire, then an I2C read: the board's I2C side is not set up.
    QCOMPARE(bench.send("Ee3P"), QByteArray("P"));
    QCOMPARE(bench.send(QByteArray("Ee2R") + i2cPacket(8, 0) + i2cPacket(8, 7)),
             QByteArray(8, char(0xFF)));
    // A Microwire read of an I2C part: nothing answers.
    Bench other(2, 8, 8);
    QCOMPARE(other.read('R', 8, 0, 8, 7), QByteArray(8, char(0xFF)));
}

void TestBoardFirmware::programmingTimeIsAnnounced()
{
    BoardFirmware::Config config;
    config.programmingTime = true;
    Bench i2c(2, 8, 8, config);
    i2c.send("Ee2P");
    i2c.firmware.receive(QByteArray("Ee2W") + i2cPacket(8, 0) + i2cPacket(8, 15));
    QCOMPARE(i2c.firmware.takeOutput().at(0).quietBefore.count(), 0);
    i2c.firmware.receive(pattern(8));
    QCOMPARE(i2c.firmware.takeOutput().at(0).quietBefore, i2c.socket.writeCycle);
    // The last chunk is answered only by a board told to, once it is programmed.
    i2c.firmware.receive(pattern(8));
    QVERIFY(i2c.firmware.takeOutput().empty());
    config.readyAfterLast = true;
    Bench kind(2, 8, 8, config);
    kind.send("Ee2P");
    kind.send(QByteArray("Ee2W") + i2cPacket(8, 0) + i2cPacket(8, 7));
    kind.firmware.receive(pattern(8));
    const auto last = kind.firmware.takeOutput();
    QCOMPARE(last.size(), std::size_t{1});
    QCOMPARE(last.at(0).bytes, QByteArray("@"));
    QCOMPARE(last.at(0).quietBefore, kind.socket.writeCycle);

    Bench microwire(3, 7, 0, config);
    microwire.send("Ee3P");
    microwire.firmware.receive(QByteArray("Ee3W") + packet(16, 7, 0) + packet(16, 7, 31));
    (void)microwire.firmware.takeOutput();
    microwire.firmware.receive(pattern(16));
    QCOMPARE(microwire.firmware.takeOutput().at(0).quietBefore, microwire.socket.writeCycle * 16);
}

void TestBoardFirmware::faultsSpoilWhatIsStored()
{
    const auto config = [](const QString& fault) {
        BoardFirmware::Config result;
        QString error;
        if (!result.faults.add(fault, &error)) qFatal("%s", qPrintable(error));
        return result;
    };
    // flip@2: the second chunk of every write is stored with bit 0 of its first byte wrong.
    Bench flipped(2, 8, 8, config(QStringLiteral("flip@2")));
    const QByteArray data = pattern(24);
    QVERIFY(flipped.write('W', 8, 0x40, data));
    QByteArray expected = data;
    expected[8] = static_cast<char>(expected.at(8) ^ 0x01);
    QCOMPARE(flipped.cells(0x40, 24), expected);
    QCOMPARE(flipped.read('R', 8, 0x40, 24), expected);

    // flipread@2: the second read chunk comes back wrong, the part holds the right data.
    Bench misread(2, 8, 8, config(QStringLiteral("flipread@2")));
    QVERIFY(misread.write('W', 8, 0x40, data));
    QCOMPARE(misread.cells(0x40, 24), data);
    QCOMPARE(misread.read('R', 8, 0x40, 24), expected);

    // nochip: the board answers as always, but nothing is stored and everything reads 0xFF.
    Bench empty(2, 8, 8, config(QStringLiteral("nochip")));
    empty.memory.store(0x10, 0x5A);
    QVERIFY(empty.write('W', 8, 0, data));
    QCOMPARE(empty.cells(0, 8), QByteArray(8, char(0xFF)));
    QCOMPARE(empty.read('R', 8, 0x10, 8), QByteArray(8, char(0xFF)));

    // --wp: the write goes through on the line, the part keeps what it held.
    BoardFirmware::Config protectedPart;
    protectedPart.writeProtect = true;
    Bench wp(2, 8, 8, protectedPart);
    wp.memory.store(0x41, 0x5A);
    QVERIFY(wp.write('W', 8, 0x40, data));
    QCOMPARE(wp.read('R', 8, 0x40, 8),
             QByteArray(1, char(0xFF)) + char(0x5A) + QByteArray(6, char(0xFF)));
}

// random:SEED:RATE: the same seed and exchange give the same failures, every kind turns up,
// and each one is named in the board's events.
void TestBoardFirmware::randomFaultsFollowTheSeed()
{
    const auto run = [](const QString& fault) {
        BoardFirmware::Config config;
        QString error;
        if (!config.faults.add(fault, &error)) qFatal("%s", qPrintable(error));
        Bench bench(2, 8, 8, config);
        QByteArray line;
        for (int round = 0; round < 40; ++round) {
            bench.firmware.powerCycle();
            line += bench.send("Ee2P");
            line += bench.send(QByteArray("Ee2W") + i2cPacket(8, 0) + i2cPacket(8, 255));
            for (int chunk = 0; chunk < 32; ++chunk) line += bench.send(pattern(8, round));
            bench.firmware.lineClosed();
            line += bench.send("Ee2P");
            line += bench.send(QByteArray("Ee2R") + i2cPacket(8, 0) + i2cPacket(8, 255));
            for (int chunk = 0; chunk < 32; ++chunk) line += bench.send("@");
            bench.firmware.lineClosed();
        }
        return std::make_pair(line + bench.memory.bytes(), bench.firmware.takeEvents());
    };
    const auto first = run(QStringLiteral("random:7:0.05"));
    QCOMPARE(run(QStringLiteral("random:7:0.05")), first);
    QVERIFY(run(QStringLiteral("random:8:0.05")).first != first.first);
    const QString events = first.second.join('\n');
    for (const char* kind :
         {"random byte dropped", "random extra bytes", "random bit flipped on the line",
          "random bit flipped while writing", "random stall", "random hang-up"}) {
        QVERIFY2(events.contains(QLatin1String(kind)), kind);
    }
}

void TestBoardFirmware::faultPlanParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "no-answer" << true;
    QTest::newRow("chunk") << "short-chunk@3" << true;
    QTest::newRow("silence from the start") << "silence@0" << true;
    QTest::newRow("chunk 0 of another kind") << "drop@0" << false;
    QTest::newRow("count on a plain kind") << "wrong-id@2" << false;
    QTest::newRow("not a number") << "extra@x" << false;
    QTest::newRow("unknown") << "smoke" << false;
    QTest::newRow("flipped bit") << "flip@4" << true;
    QTest::newRow("empty socket takes no count") << "nochip@1" << false;
    QTest::newRow("bit flipped on the line") << "flipread@2" << true;
    QTest::newRow("random") << "random:42:0.01" << true;
    QTest::newRow("random, every chunk") << "random:0:1" << true;
    QTest::newRow("random, no rate") << "random:42" << false;
    QTest::newRow("random, rate 0") << "random:42:0" << false;
    QTest::newRow("random, rate above 1") << "random:42:1.5" << false;
    QTest::newRow("random, seed not a number") << "random:x:0.1" << false;
}

void TestBoardFirmware::faultPlanParsing()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    FaultPlan plan;
    QString error;
    QCOMPARE(plan.add(text, &error), accepted);
    QCOMPARE(error.isEmpty(), accepted);
}

QTEST_GUILESS_MAIN(TestBoardFirmware)
#include "tst_board_firmware.moc"
