// The sequences of accesses every front-end runs, against the emulated board in fake time:
// which steps run in which order, what each outcome holds, that a stop keeps the next step
// from starting; repeated reads, the backup before an overwrite and writes of the changed
// chunks only, down to the bytes on the line.
#include "jobs/ChipJob.h"
#include "jobs/ChipJobObserver.h"
#include "link/AccessPackets.h"
#include "link/ProgrammerLink.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/TestDevices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Kind = ChipJobOrder::Kind;

Q_DECLARE_METATYPE(ChipJobOrder::Kind)
Q_DECLARE_METATYPE(ChipStep)

namespace {

const QString kPath = QStringLiteral("/dev/ttyUSB0");

QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + (i >> 8) + seed) & 0xFF);
    return bytes;
}

// Records the steps and may stop the job when one of them ends; `onStep` and `onAccess` run
// as a step starts and as the board of each access has answered, before its data.
class StepLog : public ChipJobObserver {
public:
    void stepStarted(ChipStep step) override
    {
        started.append(step);
        if (onStep) onStep(step);
    }
    void stepFinished(ChipStep step, const AccessOutcome& outcome) override
    {
        finished.append(step);
        if (stopAfter && *stopAfter == step && stop) *stop = true;
        Q_UNUSED(outcome);
    }
    void boardIdentified(const LinkSettings&, const QString&) override
    {
        if (onAccess) onAccess(accesses);
        ++accesses;
    }
    void progressed(const AccessProgress& progress) override { last = progress; }
    QList<ChipStep> started;
    QList<ChipStep> finished;
    std::optional<ChipStep> stopAfter;
    std::atomic<bool>* stop = nullptr;
    std::function<void(ChipStep)> onStep;
    std::function<void(int)> onAccess;
    int accesses = 0;
    AccessProgress last;
};

// The bytes the PC sends for one block access of the 24C64 (16-byte chunks, "r"/"w"): detection,
// preparation, header and packets, then "@" after each chunk of a read or a write's data.
QByteArray accessBytes(char letter, qint64 start, qint64 length, const QByteArray& data = {})
{
    constexpr int kChunk = 16;
    QByteArray bytes =
        QByteArray("??Ee2PEe2") + letter +
        Build_Address_Packet(kChunk, static_cast<std::int32_t>(start), BusFamily::I2c, 0) +
        Build_Address_Packet(kChunk, static_cast<std::int32_t>(start + length - 1), BusFamily::I2c,
                             0);
    if (letter == 'r') return bytes + QByteArray(length / kChunk, '@');
    return bytes + data.mid(start, length);
}

// A chip job on the emulated line, with a 24C64 at kPath.
struct Bench {
    explicit Bench(const QStringList& faults = {})
        : board(boards.add(kPath, EmulatedBoards::part(QStringLiteral("24C64")),
                           EmulatedBoards::faults(faults))),
          device(shippedDevice(QStringLiteral("24C64")))
    {
        board.setContents(pattern(8192, 0x21));
        job.setObserver(&log);
    }

    [[nodiscard]] ChipJobOrder order(Kind kind, qint64 offset = 0, qint64 size = 8192) const
    {
        ChipJobOrder order;
        order.kind = kind;
        order.link.portNumber = 1;
        order.link.devicePath = kPath;
        order.request.device = device;
        order.request.offset = offset;
        order.request.accessSize = size;
        return order;
    }
    ChipJobOutcome run(const ChipJobOrder& order)
    {
        ChipJobOutcome outcome = job.run(order, stop);
        clock.advance(1s);  // the board programs its last page
        return outcome;
    }

    FakeLinkClock clock;
    EmulatedBoards boards{clock};
    EmulatedBoard& board;
    EmulatedPort port{boards};
    ProgrammerLink link{port, clock};
    ChipJob job{link};
    StepLog log;
    std::atomic<bool> stop{false};
    SelectedDevice device;
};

}  // namespace

class ChipJobTest : public QObject {
    Q_OBJECT

private slots:
    void stepsRunInOrder_data();
    void stepsRunInOrder();
    void checksSayWhereTheChipDiffers();
    void aFailedWriteIsNotChecked();
    void aStopBetweenStepsSendsNothingMore();
    void aStopBeforeTheJobSendsNothing();
    void aReadLeavesTheRestBlank();
    void aWriteStoppedInsideItsRangeIsRemembered();
    void repeatedReadsAgreeOrSayWhere_data();
    void repeatedReadsAgreeOrSayWhere();
    void theChipIsSavedBeforeItIsOverwritten_data();
    void theChipIsSavedBeforeItIsOverwritten();
    void onlyTheChangedChunksAreSent_data();
    void onlyTheChangedChunksAreSent();
    void anAllBlankChipSaysSo_data();
    void anAllBlankChipSaysSo();
};

void ChipJobTest::stepsRunInOrder_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("checkAfter");
    QTest::addColumn<QList<ChipStep>>("steps");
    QTest::addColumn<int>("openings");

    QTest::newRow("detect") << Kind::Detect << false << QList<ChipStep>{ChipStep::Detect} << 1;
    QTest::newRow("read") << Kind::Read << false << QList<ChipStep>{ChipStep::Read} << 1;
    QTest::newRow("write") << Kind::Write << false << QList<ChipStep>{ChipStep::Write} << 1;
    QTest::newRow("write and verify")
        << Kind::Write << true << QList<ChipStep>{ChipStep::Write, ChipStep::Verify} << 2;
    QTest::newRow("verify") << Kind::Verify << false << QList<ChipStep>{ChipStep::Verify} << 1;
    QTest::newRow("blank check") << Kind::BlankCheck << false
                                 << QList<ChipStep>{ChipStep::BlankCheck} << 1;
    QTest::newRow("erase") << Kind::Erase << false << QList<ChipStep>{ChipStep::Erase} << 1;
    QTest::newRow("erase and blank check")
        << Kind::Erase << true << QList<ChipStep>{ChipStep::Erase, ChipStep::BlankCheck} << 2;
}

// Each step is one access with its own opening of the port; the outcome names the last step,
// and a write that was checked keeps the write's own outcome beside the check's.
void ChipJobTest::stepsRunInOrder()
{
    QFETCH(Kind, kind);
    QFETCH(bool, checkAfter);
    QFETCH(QList<ChipStep>, steps);
    QFETCH(int, openings);

    Bench bench;
    ChipJobOrder order = bench.order(kind);
    order.checkAfter = checkAfter;
    order.image = kind == Kind::Verify ? bench.board.contents() : pattern(8192, 0x5A);
    if (kind == Kind::BlankCheck) bench.board.setContents(QByteArray(8192, '\xFF'));
    const ChipJobOutcome outcome = bench.run(order);

    QVERIFY(outcome.succeeded());
    QCOMPARE(bench.log.started, steps);
    QCOMPARE(bench.log.finished, steps);
    QCOMPARE(outcome.step, steps.last());
    QCOMPARE(bench.port.openCount, openings);
    QVERIFY(!bench.port.isOpen());
    QCOMPARE(outcome.access.identification, QStringLiteral("QZ-PGM Ver 6.00"));
    QCOMPARE(outcome.written.has_value(), steps.size() > 1);
    const bool writes = kind == Kind::Write || kind == Kind::Erase;
    QCOMPARE(outcome.writtenTo(), writes ? 8191 : -1);
    if (kind == Kind::Write) QCOMPARE(bench.board.contents(), order.image);
    if (kind == Kind::Erase) QCOMPARE(bench.board.contents(), QByteArray(8192, '\xFF'));
    if (outcome.comparison) QCOMPARE(outcome.comparison->compared, 8192);
}

// Verify and blank check compare what the chip holds and say where it first differs; a write
// that the part stores wrongly is caught by its verify.
void ChipJobTest::checksSayWhereTheChipDiffers()
{
    Bench bench;
    const QByteArray part = bench.board.contents();
    QByteArray buffer = part;
    // 300 bytes from 0x300 and the last byte differ: 256 of them are listed.
    for (qint64 address = 0x0300; address < 0x0300 + 300; ++address)
        buffer[address] = static_cast<char>(~part[address]);
    buffer[0x1FFF] = static_cast<char>(~part[0x1FFF]);
    ChipJobOrder verify = bench.order(Kind::Verify);
    verify.image = buffer;
    const ChipJobOutcome differs = bench.run(verify);
    QVERIFY(differs.access.succeeded());
    QVERIFY(!differs.succeeded());
    QCOMPARE(differs.comparison->mismatches, 301);
    QCOMPARE(differs.comparison->first.size(), Comparison::kListed);
    QCOMPARE(differs.comparison->first.first().address, 0x0300);
    QCOMPARE(differs.comparison->first.first().actual, static_cast<quint8>(part.at(0x300)));
    QCOMPARE(differs.chip, part);

    bench.board.setContents(QByteArray(0x1235, '\xFF') + QByteArray(8192 - 0x1235, '\x5A'));
    const ChipJobOutcome notBlank = bench.run(bench.order(Kind::BlankCheck));
    QCOMPARE(notBlank.comparison->mismatches, 8192 - 0x1235);
    QCOMPARE(notBlank.comparison->first.first().address, 0x1235);
    QCOMPARE(notBlank.comparison->first.first().expected, 0xFF);

    Bench flipping({QStringLiteral("flip@3")});
    ChipJobOrder write = flipping.order(Kind::Write);
    write.image = pattern(8192, 0x33);
    write.checkAfter = true;
    const ChipJobOutcome written = flipping.run(write);
    QCOMPARE(written.step, ChipStep::Verify);
    QVERIFY(written.written->succeeded());
    QCOMPARE(written.comparison->mismatches, 1);
    QCOMPARE(written.comparison->first.first().address, 32);
}

void ChipJobTest::aFailedWriteIsNotChecked()
{
    Bench bench({QStringLiteral("silence@3")});
    ChipJobOrder order = bench.order(Kind::Write);
    order.image = pattern(8192, 0x44);
    order.checkAfter = true;
    const ChipJobOutcome outcome = bench.run(order);
    QCOMPARE(outcome.step, ChipStep::Write);
    QCOMPARE(outcome.access.kind, AccessOutcome::Kind::TimedOut);
    QCOMPARE(bench.log.started, QList<ChipStep>{ChipStep::Write});
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.writtenTo(), 3 * 16 - 1);
    QCOMPARE(outcome.access.bytesBoardAwaits(), 8192 - 3 * 16);
}

// A stop that comes as the write ends keeps its check from starting: the outcome says the
// write was whole and the check never ran, and nothing more reaches the board.
void ChipJobTest::aStopBetweenStepsSendsNothingMore()
{
    for (const Kind kind : {Kind::Write, Kind::Erase}) {
        Bench bench;
        bench.log.stop = &bench.stop;
        bench.log.stopAfter = kind == Kind::Write ? ChipStep::Write : ChipStep::Erase;
        ChipJobOrder order = bench.order(kind);
        order.image = pattern(8192, 0x66);
        order.checkAfter = true;
        const ChipJobOutcome outcome = bench.run(order);
        QCOMPARE(outcome.step, kind == Kind::Write ? ChipStep::Verify : ChipStep::BlankCheck);
        QCOMPARE(outcome.access.kind, AccessOutcome::Kind::Cancelled);
        QVERIFY(!outcome.access.rangeSent);
        QVERIFY(outcome.written->succeeded());
        QCOMPARE(outcome.writtenTo(), 8191);
        QCOMPARE(bench.port.openCount, 1);
        QCOMPARE(bench.log.started.size(), 1);
    }
}

void ChipJobTest::aStopBeforeTheJobSendsNothing()
{
    Bench bench;
    bench.stop = true;
    ChipJobOrder order = bench.order(Kind::Write);
    order.image = pattern(8192, 0x77);
    const ChipJobOutcome outcome = bench.run(order);
    QCOMPARE(outcome.step, ChipStep::Write);
    QCOMPARE(outcome.access.kind, AccessOutcome::Kind::Cancelled);
    QCOMPARE(outcome.writtenTo(), -1);
    QCOMPARE(bench.port.openCount, 0);
    QVERIFY(bench.board.fromPc().isEmpty());
}

// A range read comes back in an image of the part's size, 0xFF outside the range; a range of
// nothing but 0xFF says so.
void ChipJobTest::aReadLeavesTheRestBlank()
{
    Bench bench;
    const ChipJobOutcome read = bench.run(bench.order(Kind::Read, 4096, 96));
    QVERIFY(read.succeeded());
    QCOMPARE(read.chip.size(), 8192);
    QCOMPARE(read.chip.mid(4096, 96), bench.board.contents().mid(4096, 96));
    QCOMPARE(read.chip.left(4096), QByteArray(4096, '\xFF'));
    QVERIFY(!read.readAllBlank());

    bench.board.setContents(QByteArray(8192, '\xFF'));
    QVERIFY(bench.run(bench.order(Kind::Read)).readAllBlank());
}

// A write that stops inside its range leaves the board waiting for the rest: the port keeps a
// record of it, a board that then does not answer is reported with it, and an access that finds
// the board answering clears it.
void ChipJobTest::aWriteStoppedInsideItsRangeIsRemembered()
{
    QTemporaryDir folder;
    const StoppedWrites stoppedWrites(folder.path());
    Bench bench;
    bench.job.setStoppedWrites(&stoppedWrites);
    bench.clock.after(300ms, [&] {
        bench.stop = true;
        bench.link.cancel();
    });
    ChipJobOrder write = bench.order(Kind::Write);
    write.image = pattern(8192, 0x12);
    const ChipJobOutcome stopped = bench.run(write);
    QCOMPARE(stopped.access.kind, AccessOutcome::Kind::Cancelled);
    const std::optional<StoppedWrites::Record> record = stoppedWrites.find(kPath);
    QVERIFY(record);
    QCOMPARE(record->bytesAwaited, 8192 - stopped.access.bytesDone);
    QCOMPARE(record->lastAddress, stopped.writtenTo());

    // The board takes the next detection's queries as chunk data and does not answer.
    bench.stop = false;
    const ChipJobOutcome unanswered = bench.run(bench.order(Kind::Read));
    QCOMPARE(unanswered.access.kind, AccessOutcome::Kind::NoBoard);
    QVERIFY(unanswered.earlierStoppedWrite);
    QCOMPARE(unanswered.earlierStoppedWrite->bytesAwaited, record->bytesAwaited);

    bench.board.powerCycle();
    QVERIFY(bench.run(bench.order(Kind::Read)).succeeded());
    QVERIFY(!stoppedWrites.find(kPath));
}

void ChipJobTest::repeatedReadsAgreeOrSayWhere_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("reads");
    QTest::addColumn<bool>("flipFirst");   // read chunk 3 of the first read has bit 0 of 0x20 wrong
    QTest::addColumn<bool>("threeBytes");  // each read finds another byte at 0x100
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<int>("differing");
    QTest::addColumn<int>("undecided");

    QTest::newRow("one read") << Kind::Read << 1 << false << false << true << 0 << 0;
    QTest::newRow("three agree") << Kind::Read << 3 << false << false << true << 0 << 0;
    QTest::newRow("a flip caught by the second read")
        << Kind::Read << 2 << true << false << false << 1 << 1;
    QTest::newRow("a flip outvoted") << Kind::Read << 3 << true << false << true << 1 << 0;
    QTest::newRow("no majority") << Kind::Read << 3 << false << true << false << 1 << 1;
    QTest::newRow("verify reads twice") << Kind::Verify << 2 << true << false << false << 1 << 1;
}

// A contact that comes and goes shows as reads that differ: the outcome lists where and what
// each read gave, takes a byte most reads agree on, and without one hands back no bytes at all.
void ChipJobTest::repeatedReadsAgreeOrSayWhere()
{
    QFETCH(Kind, kind);
    QFETCH(int, reads);
    QFETCH(bool, flipFirst);
    QFETCH(bool, threeBytes);
    QFETCH(bool, succeeds);
    QFETCH(int, differing);
    QFETCH(int, undecided);

    Bench bench;
    const QByteArray part = bench.board.contents();
    bench.log.onAccess = [&](int access) {
        bench.board.setFaults(flipFirst && access == 0 ? QStringList{"flipread@3"} : QStringList{});
        if (!threeBytes) return;
        QByteArray contents = part;
        contents[0x100] = static_cast<char>(0x11 * (access + 1));
        bench.board.setContents(contents);
    };
    ChipJobOrder order = bench.order(kind);
    order.reads = reads;
    order.image = part;
    const ChipJobOutcome outcome = bench.run(order);

    QVERIFY(outcome.access.succeeded());
    QCOMPARE(outcome.succeeded(), succeeds);
    QCOMPARE(bench.log.accesses, reads);
    QCOMPARE(bench.log.last.done, 8192 * reads);
    QCOMPARE(bench.log.last.total, 8192 * reads);
    QCOMPARE(outcome.agreement.has_value(), reads > 1);
    if (reads == 1) return;
    QCOMPARE(outcome.agreement->reads, reads);
    QCOMPARE(outcome.agreement->differing, differing);
    QCOMPARE(outcome.agreement->undecided, undecided);
    QCOMPARE(outcome.chip.isEmpty(), !succeeds);
    if (succeeds) QCOMPARE(outcome.chip, part);
    QCOMPARE(outcome.comparison.has_value(), kind == Kind::Verify && succeeds);
    if (differing == 0) return;
    const ReadDisagreement& first = outcome.agreement->first.first();
    const auto byte = static_cast<std::uint8_t>(part.at(0x20));
    QList<std::uint8_t> values(reads, byte);
    if (flipFirst) values.first() = byte ^ 1;
    if (threeBytes) values = {0x11, 0x22, 0x33};
    QCOMPARE(first.address, threeBytes ? 0x100 : 0x20);
    QCOMPARE(outcome.agreement->differingAt.count(true), differing);
    QVERIFY(outcome.agreement->differingAt.testBit(first.address));
    QCOMPARE(first.values, values);
    QCOMPARE(first.majority.has_value(), undecided == 0);
    if (first.majority) QCOMPARE(*first.majority, byte);
}

void ChipJobTest::theChipIsSavedBeforeItIsOverwritten_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("folderMade");  // the folder can be made
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("written");

    QTest::newRow("write") << Kind::Write << true << QStringList{} << true;
    QTest::newRow("erase") << Kind::Erase << true << QStringList{} << true;
    QTest::newRow("no folder") << Kind::Write << false << QStringList{} << false;
    QTest::newRow("the read fails") << Kind::Erase << true << QStringList{"short-chunk@2"} << false;
}

// The whole part reaches a file, byte for byte, before anything is sent for the write; a backup
// that cannot be read or saved ends the job with the chip untouched, and a later backup never
// replaces an earlier one.
void ChipJobTest::theChipIsSavedBeforeItIsOverwritten()
{
    QFETCH(Kind, kind);
    QFETCH(bool, folderMade);
    QFETCH(QStringList, faults);
    QFETCH(bool, written);

    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    const QString folder =
        dir.filePath(folderMade ? QStringLiteral("saved/backups") : QStringLiteral("file/backups"));
    const QString path = folder + QStringLiteral("/24C64_20260314-093015_ttyUSB0.bin");
    const auto readFile = [](const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    Bench bench(faults);
    const QByteArray before = bench.board.contents();
    bench.job.setWallClock([] { return QDateTime(QDate(2026, 3, 14), QTime(9, 30, 15)); });
    QByteArray savedBeforeWrite;
    bench.log.onStep = [&](ChipStep step) {
        if (step == ChipStep::Write || step == ChipStep::Erase) savedBeforeWrite = readFile(path);
    };
    ChipJobOrder order = bench.order(kind, 0x1000, 0x100);
    order.image = pattern(8192, 0x5A);
    order.checkAfter = true;
    order.backupFolder = folder;
    order.partName = QStringLiteral("24C64");
    const ChipJobOutcome outcome = bench.run(order);

    QCOMPARE(outcome.succeeded(), written);
    QCOMPARE(outcome.backup.has_value(), faults.isEmpty());
    QCOMPARE(bench.board.contents() == before, !written);
    QCOMPARE(bench.board.fromPc().contains("Ee2w"), written);
    if (!written) {
        QCOMPARE(outcome.step, ChipStep::Read);
        QCOMPARE(outcome.writtenTo(), -1);
        if (outcome.backup) {
            QCOMPARE(outcome.backup->failure.cause, FileWriteFailure::Cause::NoFolder);
        }
        return;
    }
    QCOMPARE(outcome.backup->path, path);
    QCOMPARE(savedBeforeWrite, before);
    QCOMPARE(readFile(path), before);

    const ChipJobOutcome again = bench.run(order);
    QVERIFY(again.succeeded());
    QCOMPARE(again.backup->path, folder + QStringLiteral("/24C64_20260314-093015_ttyUSB0-2.bin"));
    QCOMPARE(readFile(again.backup->path), bench.board.contents());
    QCOMPARE(readFile(path), before);
}

void ChipJobTest::onlyTheChangedChunksAreSent_data()
{
    QTest::addColumn<QList<int>>("changes");  // addresses where the image differs from the chip
    QTest::addColumn<bool>("changedOnly");
    QTest::addColumn<bool>("checkAfter");
    QTest::addColumn<QList<int>>("spans");  // offset and length of each access, in turn

    // A 24C64 chunk (16 bytes, 5 ms) costs 17 byte times and its programming, 7.95 ms; another
    // access costs 50 ms + 5 x 10 ms and 36 byte times, 106.25 ms: 13 unchanged chunks between
    // two changed ones still go in one access.
    QTest::newRow("everything, as ever")
        << QList<int>{0x1005} << false << false << QList<int>{0, 8192};
    QTest::newRow("one chunk") << QList<int>{0x1005} << true << false << QList<int>{0x1000, 16};
    QTest::newRow("one chunk, the range verified")
        << QList<int>{0x1005} << true << true << QList<int>{0x1000, 16};
    QTest::newRow("13 chunks between: one access")
        << QList<int>{0x0000, 0x00E5} << true << false << QList<int>{0, 0xF0};
    QTest::newRow("14 chunks between: two")
        << QList<int>{0x0000, 0x00F5} << true << false << QList<int>{0, 16, 0xF0, 16};
    QTest::newRow("the last byte") << QList<int>{0x1FFF} << true << false << QList<int>{0x1FF0, 16};
    QTest::newRow("nothing to write") << QList<int>{} << true << true << QList<int>{};
}

// A write of the changed chunks reads the range, then sends each span as an access of its own
// with its own packets; a chip that holds the image already gets nothing but the read. Without
// it, the write puts exactly the bytes on the line that it always has.
void ChipJobTest::onlyTheChangedChunksAreSent()
{
    QFETCH(QList<int>, changes);
    QFETCH(bool, changedOnly);
    QFETCH(bool, checkAfter);
    QFETCH(QList<int>, spans);

    Bench bench;
    const QByteArray before = bench.board.contents();
    QByteArray image = before;
    for (const int address : changes) image[address] = static_cast<char>(~before.at(address));
    ChipJobOrder order = bench.order(Kind::Write);
    order.image = image;
    order.changedOnly = changedOnly;
    order.checkAfter = checkAfter;
    const ChipJobOutcome outcome = bench.run(order);

    QVERIFY(outcome.succeeded());
    QByteArray line = changedOnly ? accessBytes('r', 0, 8192) : QByteArray();
    QList<WriteSpan> sent;
    qint64 bytes = 0;
    for (int i = 0; i < spans.size(); i += 2) {
        line += accessBytes('w', spans.at(i), spans.at(i + 1), image);
        sent.append({spans.at(i), spans.at(i + 1)});
        bytes += spans.at(i + 1);
    }
    if (checkAfter && !spans.isEmpty()) line += accessBytes('r', 0, 8192);
    QCOMPARE(bench.board.fromPc(), line);
    QVERIFY(outcome.spans == sent);
    QCOMPARE(outcome.bytesWritten, bytes);
    QCOMPARE(outcome.chipHeldImage, spans.isEmpty());
    QCOMPARE(outcome.writtenTo(),
             spans.isEmpty() ? -1 : spans.at(spans.size() - 2) + spans.last() - 1);
    QCOMPARE(bench.board.contents(), image);
    if (checkAfter && !spans.isEmpty()) QCOMPARE(outcome.comparison->compared, 8192);
}

void ChipJobTest::anAllBlankChipSaysSo_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("blankImage");
    QTest::addColumn<bool>("succeeds");

    QTest::newRow("read") << Kind::Read << true << true;
    QTest::newRow("blank check") << Kind::BlankCheck << true << true;
    QTest::newRow("erase") << Kind::Erase << true << true;
    QTest::newRow("verify of 0xFF") << Kind::Verify << true << true;
    QTest::newRow("verify of data") << Kind::Verify << false << false;
    QTest::newRow("erase of the changed only") << Kind::Erase << true << true;
}

// An empty socket reads like a blank part: whatever the job, nothing but 0xFF read says so.
void ChipJobTest::anAllBlankChipSaysSo()
{
    QFETCH(Kind, kind);
    QFETCH(bool, blankImage);
    QFETCH(bool, succeeds);

    Bench bench({QStringLiteral("nochip")});
    ChipJobOrder order = bench.order(kind);
    order.image = blankImage ? QByteArray(8192, '\xFF') : pattern(8192, 0x42);
    order.checkAfter = true;
    order.changedOnly = QByteArray(QTest::currentDataTag()).contains("changed");
    const ChipJobOutcome outcome = bench.run(order);
    QCOMPARE(outcome.succeeded(), succeeds);
    QCOMPARE(outcome.chipHeldImage, order.changedOnly);
    QVERIFY(outcome.readAllBlank());
}

QTEST_GUILESS_MAIN(ChipJobTest)
#include "tst_chip_job.moc"
