// The reads and writes every front-end shares, against the emulated board in fake time: what
// each outcome says, how far the access got, and that a refused access sends nothing at all.
#include "base/HexText.h"
#include "image/MemoryImage.h"
#include "jobs/ChipJob.h"
#include "link/EepromTransfer.h"
#include "link/ProgrammerLink.h"
#include "link/gui/AccessTexts.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/TestDevices.h"

#include <QTest>

using namespace std::chrono_literals;
using Kind = AccessOutcome::Kind;
using Refusal = AccessOutcome::Refusal;

Q_DECLARE_METATYPE(AccessOutcome::Kind)
Q_DECLARE_METATYPE(AccessOutcome::Refusal)

namespace {

const QString kPath = QStringLiteral("/dev/ttyUSB0");

// Panel 1 as the window words `outcome` when it ends a command whose step showed `stepText`.
QString windowText(const AccessOutcome& outcome, const QString& stepText = {})
{
    ChipJobOutcome job;
    job.access = outcome;
    job.step = outcome.write ? ChipStep::Write : ChipStep::Read;
    return AccessTexts::jobText(job, stepText);
}

QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i + (i >> 8) * 3 + (i >> 16) * 11 + seed) & 0xFF);
    }
    return bytes;
}

// A link over the emulated line, with the board at kPath.
struct Bench {
    explicit Bench(const QString& part, const QStringList& faults = {},
                   const QString& firmware = QStringLiteral("6.00"))
        : Bench(part, EmulatedBoards::faults(faults, firmware))
    {
    }
    Bench(const QString& part, const BoardFirmware::Config& config)
        : board(boards.add(kPath, EmulatedBoards::part(part), config)),
          m_device(shippedDevice(part))
    {
        board.setContents(pattern(board.part().size(), 0x21));
        settings.portNumber = 1;
        settings.devicePath = kPath;
    }

    [[nodiscard]] TransferRequest block(qint64 size, qint64 offset = 0) const
    {
        TransferRequest request;
        request.device = device();
        request.accessSize = size;
        request.offset = offset;
        return request;
    }
    [[nodiscard]] const SelectedDevice& device() const { return m_device; }
    // Lets the board finish what it was doing (the last page's programming).
    void settle() { clock.advance(1s); }

    FakeLinkClock clock;
    EmulatedBoards boards{clock};
    EmulatedBoard& board;
    EmulatedPort port{boards};
    ProgrammerLink link{port, clock};
    EepromTransfer transfer{link};
    LinkSettings settings;

private:
    SelectedDevice m_device;
};

}  // namespace

class EepromTransferTest : public QObject {
    Q_OBJECT

private slots:
    void refusalsSendNothing_data();
    void refusalsSendNothing();
    void blockTransfersMoveTheWholeRange_data();
    void blockTransfersMoveTheWholeRange();
    void aRangeLeavesTheRestAlone();
    void failuresSayWhatHappened_data();
    void failuresSayWhatHappened();
    void aWriteEndsWithItsLastChunk_data();
    void aWriteEndsWithItsLastChunk();
    void cancelStopsAtTheNextWait();
};

void EepromTransferTest::refusalsSendNothing_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("family");  // 0: the part's own; -1: no device
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<bool>("byte");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("size");  // block: access size; byte: the cell (-1 none)
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("text");

    const QString beyond = QStringLiteral("超えるため、読み書きできません。");
    QTest::newRow("no device") << "24C02" << -1 << 8 << false << qint64{0} << qint64{256}
                               << Refusal::NoDevice
                               << QStringLiteral("デバイスが選択されていません。");
    QTest::newRow("unknown family") << "24C02" << 4 << 8 << false << qint64{0} << qint64{256}
                                    << Refusal::UnknownFamily << QStringLiteral("種類（4）");
    QTest::newRow("page size 0") << "24C02" << 0 << 0 << false << qint64{0} << qint64{256}
                                 << Refusal::NoChunk << QStringLiteral("ページサイズ（0）");
    QTest::newRow("no access size")
        << "24C02" << 0 << 8 << false << qint64{0} << qint64{0} << Refusal::NoAccessSize
        << QStringLiteral("アクセスサイズが選ばれていません。");
    // A page size of 12 makes the access-size list reach 384 on a 256-byte part.
    QTest::newRow("block beyond the part") << "24C02" << 0 << 12 << false << qint64{0}
                                           << qint64{384} << Refusal::OutsideImage << beyond;
    // 252 + 12 runs past 256 even though the access size fits.
    QTest::newRow("last chunk beyond the part") << "24C02" << 0 << 12 << false << qint64{0}
                                                << qint64{256} << Refusal::OutsideImage << beyond;
    QTest::newRow("range beyond the part") << "24C02" << 0 << 8 << false << qint64{128}
                                           << qint64{136} << Refusal::OutsideImage << beyond;
    QTest::newRow("range off a page") << "24C02" << 0 << 8 << false << qint64{4} << qint64{8}
                                      << Refusal::Misaligned << QStringLiteral("境界");
    QTest::newRow("no byte cell") << "24C02" << 0 << 8 << true << qint64{0} << qint64{-1}
                                  << Refusal::NotAByteCell << QStringLiteral("データのセル");
    QTest::newRow("cell beyond the part")
        << "24C02" << 0 << 8 << true << qint64{0} << qint64{256} << Refusal::NotAByteCell
        << QStringLiteral("データのセル");
}

// Every refusal is an outcome of its own, for reads and writes alike, and the port is never
// even opened.
void EepromTransferTest::refusalsSendNothing()
{
    QFETCH(QString, part);
    QFETCH(int, family);
    QFETCH(int, pageSize);
    QFETCH(bool, byte);
    QFETCH(qint64, offset);
    QFETCH(qint64, size);
    QFETCH(Refusal, refusal);
    QFETCH(QString, text);

    Bench bench(part);
    TransferRequest request = bench.block(size, offset);
    if (family < 0) request.device.reset();
    if (family > 0) request.device->Family = static_cast<BusFamily>(family);
    if (request.device) request.device->PageSize = pageSize;
    if (byte) {
        request.mode = AccessMode::Byte;
        request.cellAddress.reset();
        if (size >= 0) request.cellAddress = size;
    }
    MemoryImage image;
    image.recreate(256);
    const QByteArray before = image.bytes();
    for (const bool write : {false, true}) {
        const AccessOutcome outcome = write ? bench.transfer.write(bench.settings, request, before)
                                            : bench.transfer.read(bench.settings, request, image);
        QCOMPARE(outcome.kind, Kind::Refused);
        QCOMPARE(outcome.refusal, refusal);
        QVERIFY2(windowText(outcome).contains(text), qPrintable(windowText(outcome)));
        QVERIFY(!outcome.succeeded());
    }
    QCOMPARE(bench.port.openCount, 0);
    QVERIFY(bench.board.fromPc().isEmpty());
    QCOMPARE(image.bytes(), before);

    // One access at a time on a link.
    QVERIFY(bench.link.begin());
    const AccessOutcome busy = bench.transfer.read(bench.settings, bench.block(256), image);
    QCOMPARE(busy.kind, Kind::Refused);
    QCOMPARE(busy.refusal, Refusal::Busy);
}

void EepromTransferTest::blockTransfersMoveTheWholeRange_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("I2C, one address byte") << "24C02";
    QTest::newRow("I2C, two address bytes") << "24C64";
    QTest::newRow("Microwire") << "AT93C46";
    QTest::newRow("I2C 1 Mbit, A16 in the device address") << "24C1024";
}

// A write of a new pattern, then a read into a fresh image, give the pattern back; the outcome
// counts the bytes and the time the line took.
void EepromTransferTest::blockTransfersMoveTheWholeRange()
{
    QFETCH(QString, part);
    Bench bench(part);
    const qint64 size = bench.board.part().size();
    const QByteArray data = pattern(size, 0x5A);

    const AccessOutcome written = bench.transfer.write(bench.settings, bench.block(size), data);
    QVERIFY(written.succeeded());
    QVERIFY(written.write);
    QCOMPARE(written.bytesDone, size);
    QCOMPARE(written.identification, QStringLiteral("QZ-PGM Ver 6.00"));
    QVERIFY(windowText(written).startsWith(QStringLiteral("書き込み終了。 (")));
    bench.settle();
    QCOMPARE(bench.board.contents(), data);

    MemoryImage image;
    image.recreate(size);
    const AccessOutcome read = bench.transfer.read(bench.settings, bench.block(size), image);
    QVERIFY(read.succeeded());
    QCOMPARE(read.bytesDone, size);
    QCOMPARE(image.bytes(), data);
    // At 57,600 bit/s a byte takes 174 us each way: the read cannot be faster than its bytes.
    QVERIFY(read.elapsed >= EmulatedPort::kByteTime * size);
    QCOMPARE(windowText(read),
             AccessTexts::elapsedText(QStringLiteral("読み出し終了。 ("), read.elapsed));
    QVERIFY(!bench.port.isOpen());
}

void EepromTransferTest::aRangeLeavesTheRestAlone()
{
    Bench bench(QStringLiteral("24C64"));
    MemoryImage image;
    image.recreate(8192);
    const AccessOutcome read = bench.transfer.read(bench.settings, bench.block(96, 4096), image);
    QVERIFY(read.succeeded());
    QCOMPARE(read.firstAddress, 4096);
    QCOMPARE(read.bytesDone, 96);
    const QByteArray part = bench.board.contents();
    QCOMPARE(image.bytes().mid(4096, 96), part.mid(4096, 96));
    QCOMPARE(image.bytes().left(4096), QByteArray(4096, '\xFF'));
    QCOMPARE(image.bytes().mid(4096 + 96), QByteArray(8192 - 4096 - 96, '\xFF'));

    const QByteArray zeros(8192, '\0');
    const AccessOutcome written = bench.transfer.write(bench.settings, bench.block(64, 64), zeros);
    QVERIFY(written.succeeded());
    QCOMPARE(written.lastAddressDone(), 127);
    bench.settle();
    QByteArray expected = part;
    expected.replace(64, 64, QByteArray(64, '\0'));
    QCOMPARE(bench.board.contents(), expected);
}

void EepromTransferTest::failuresSayWhatHappened_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("bytesDone");
    QTest::addColumn<int>("seconds");  // how long it took, in whole seconds of the clock

    const QString checkFailed = QStringLiteral("プログラマ接続確認エラー。");
    const QString v6 = QStringLiteral("6.00");
    // What a write that failed inside its range adds.
    const auto stoppedAt = [](const char* last) {
        return QStringLiteral(" (チップは 0x%1 まで書き込み済みです)").arg(QLatin1String(last));
    };
    QTest::newRow("no answer") << false << QStringList{"no-answer"} << v6 << Kind::NoBoard
                               << checkFailed + QStringLiteral("【0】") << qint64{0} << 10;
    QTest::newRow("identification cut short")
        << true << QStringList{"short-id"} << v6 << Kind::NoBoard
        << checkFailed + QStringLiteral("【16】") << qint64{0} << 10;
    QTest::newRow("another board")
        << false << QStringList{"wrong-id"} << v6 << Kind::NoBoard << checkFailed << qint64{0} << 0;
    QTest::newRow("old firmware") << true << QStringList{} << QStringLiteral("5.10")
                                  << Kind::OldFirmware << checkFailed << qint64{0} << 0;
    QTest::newRow("silent after 3 read chunks")
        << false << QStringList{"silence@3"} << v6 << Kind::TimedOut
        << QStringLiteral("タイムアウト  リードエラー") << qint64{24} << 30;
    QTest::newRow("silent after 3 write chunks")
        << true << QStringList{"silence@3"} << v6 << Kind::TimedOut
        << QStringLiteral("タイムアウト ライトエラー") + stoppedAt("00017") << qint64{24} << 30;
    QTest::newRow("no answer to the preparation")
        << false << QStringList{"no-prep-answer"} << v6 << Kind::TimedOut
        << QStringLiteral("タイムアウト  リードエラー") << qint64{0} << 30;
    QTest::newRow("read chunk one byte short")
        << false << QStringList{"short-chunk@2"} << v6 << Kind::TimedOut
        << QStringLiteral("タイムアウト  リードエラー") << qint64{8} << 30;
    QTest::newRow("line dropped in read chunk 2")
        << false << QStringList{"drop@2"} << v6 << Kind::LineLost
        << QStringLiteral("通信ポートが切断されました。  リードエラー") << qint64{8} << 0;
    QTest::newRow("line dropped in write chunk 2")
        << true << QStringList{"drop@2"} << v6 << Kind::LineLost
        << QStringLiteral("通信ポートが切断されました。 ライトエラー") + stoppedAt("0000F")
        << qint64{16} << 0;
    QTest::newRow("line noise before read chunk 2")
        << false << QStringList{"garbage@2"} << v6 << Kind::BadReply
        << QStringLiteral("status  リードエラー") << qint64{8} << 0;
    QTest::newRow("extra bytes after read chunk 2")
        << false << QStringList{"extra@2"} << v6 << Kind::BadReply
        << QStringLiteral("status  リードエラー") << qint64{8} << 0;
    QTest::newRow("wrong ready byte")
        << true << QStringList{"wrong-ready@4"} << v6 << Kind::BadReply
        << QStringLiteral("status ライトエラー") + stoppedAt("00017") << qint64{24} << 0;
}

void EepromTransferTest::failuresSayWhatHappened()
{
    QFETCH(bool, write);
    QFETCH(QStringList, faults);
    QFETCH(QString, firmware);
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(qint64, bytesDone);
    QFETCH(int, seconds);

    Bench bench(QStringLiteral("24C02"), faults, firmware);
    MemoryImage image;
    image.recreate(256);
    const LinkClock::Duration start = bench.clock.now();
    const QString status = QStringLiteral("status");
    const AccessOutcome outcome =
        write ? bench.transfer.write(bench.settings, bench.block(256), image.bytes())
              : bench.transfer.read(bench.settings, bench.block(256), image);
    QCOMPARE(outcome.kind, kind);
    QCOMPARE(windowText(outcome, status), text);
    QCOMPARE(outcome.bytesDone, bytesDone);
    QCOMPARE(std::chrono::duration_cast<std::chrono::seconds>(bench.clock.now() - start).count(),
             seconds);
    QVERIFY(!bench.port.isOpen());
    QVERIFY(!bench.link.running());
}

void EepromTransferTest::aWriteEndsWithItsLastChunk_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("readyAfterLast");
    QTest::addColumn<int>("waitMs");  // the most the write may wait after its last chunk
    QTest::newRow("I2C") << "24C02" << false << 0;
    QTest::newRow("I2C, answered") << "24C02" << true << 0;
    // 16 bytes at 10 ms each: an answer would come 163 ms after the chunk left, later than
    // detection's first 50 ms; the write waits for the rest.
    QTest::newRow("Microwire") << "AT93C86" << false << 150;
    QTest::newRow("Microwire, answered late") << "AT93C86" << true << 150;
}

// The board promises nothing after the last chunk: the write does not wait a second for it.
// A board that does answer, even after the write has returned, never spoils the identification
// of the verify that follows at once.
void EepromTransferTest::aWriteEndsWithItsLastChunk()
{
    QFETCH(QString, part);
    QFETCH(bool, readyAfterLast);
    QFETCH(int, waitMs);
    BoardFirmware::Config config;
    config.readyAfterLast = readyAfterLast;
    Bench bench(part, config);
    const qint64 size = bench.board.part().size();
    const QByteArray data = pattern(size, 0x3C);

    const AccessOutcome written = bench.transfer.write(bench.settings, bench.block(size), data);
    QVERIFY2(written.succeeded(), qPrintable(windowText(written)));
    QVERIFY(bench.clock.now() - bench.port.lastWriteAt <= std::chrono::milliseconds{waitMs});
    ChipJob job(bench.link);
    ChipJobOrder verify;
    verify.kind = ChipJobOrder::Kind::Verify;
    verify.link = bench.settings;
    verify.request = bench.block(size);
    verify.image = data;
    const ChipJobOutcome check = job.run(verify);
    QVERIFY2(check.succeeded(), qPrintable(AccessTexts::jobText(check, {})));
    QCOMPARE(bench.board.contents(), data);
}

void EepromTransferTest::cancelStopsAtTheNextWait()
{
    for (const bool write : {false, true}) {
        Bench bench(QStringLiteral("24C64"));
        MemoryImage image;
        image.recreate(8192);
        bench.clock.after(1s, [&] { bench.link.cancel(); });
        const AccessOutcome outcome =
            write ? bench.transfer.write(bench.settings, bench.block(8192), image.bytes())
                  : bench.transfer.read(bench.settings, bench.block(8192), image);
        QCOMPARE(outcome.kind, Kind::Cancelled);
        QVERIFY(outcome.bytesDone > 0 && outcome.bytesDone < 8192);
        QCOMPARE(outcome.bytesDone % 16, 0);
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(windowText(outcome),
                 write ? QStringLiteral("中止しました。 (チップは 0x%1 まで書き込み済みです) "
                                        "ボードは残りの %2 バイトを待っています。次のアクセスの"
                                        "前にボードの電源を入れ直してください。")
                             .arg(hexText(static_cast<quint32>(outcome.lastAddressDone()), 5))
                             .arg(8192 - outcome.bytesDone)
                       : QStringLiteral("中止しました。"));
        bench.settle();
        // A read ends with the close; a write's board waits for the rest of its range.
        const QString closed =
            write ? QStringLiteral("port closed: the write still waits for %1 bytes")
                        .arg(8192 - outcome.bytesDone)
                  : QStringLiteral("port closed: transfer abandoned");
        QVERIFY2(bench.board.events().contains(closed),
                 qPrintable(bench.board.events().join('\n')));
        if (write) {
            // Every chunk handed over is on the part, and nothing after it.
            const QByteArray part = bench.board.contents();
            QCOMPARE(part.left(outcome.bytesDone), image.bytes().left(outcome.bytesDone));
            QCOMPARE(part.mid(outcome.bytesDone), pattern(8192, 0x21).mid(outcome.bytesDone));
        }
    }
}

QTEST_GUILESS_MAIN(EepromTransferTest)
#include "tst_eeprom_transfer.moc"
