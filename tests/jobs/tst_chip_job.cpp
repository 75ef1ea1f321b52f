// The sequences of accesses every front-end runs, against the emulated board in fake time:
// which steps run in which order, what each outcome holds, and that a stop keeps the next step
// from starting.
#include "jobs/ChipJob.h"
#include "jobs/ChipJobObserver.h"
#include "link/ProgrammerLink.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/TestDevices.h"

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

// Records the steps and may stop the job when one of them ends.
class StepLog : public ChipJobObserver {
public:
    void stepStarted(ChipStep step) override { started.append(step); }
    void stepFinished(ChipStep step, const AccessOutcome& outcome) override
    {
        finished.append(step);
        if (stopAfter && *stopAfter == step && stop) *stop = true;
        Q_UNUSED(outcome);
    }
    QList<ChipStep> started;
    QList<ChipStep> finished;
    std::optional<ChipStep> stopAfter;
    std::atomic<bool>* stop = nullptr;
};

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

QTEST_GUILESS_MAIN(ChipJobTest)
#include "tst_chip_job.moc"
