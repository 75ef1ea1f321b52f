// Production rounds on several emulated boards in fake time, on SQLite and on the private
// PostgreSQL server: faults chosen per board and round by a seeded generator, and after every
// round each chip is compared with its record. No number may go to two chips, every record
// must say what happened to its chip, and a verified chip must hold its number.
#include "production/LineDatabase.h"
#include "production/RoundRunner.h"
#include "support/TestDevices.h"

#include "support/PostgresDatabases.h"
#include "support/RoundLines.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(FailurePolicy)

namespace {

const QString kPart = QStringLiteral("24C02");
const QStringList kPaths{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2"};
constexpr int kRounds = 24;
constexpr int kWriteChunks = 32;  // a 24C02 is written in 8-byte pages

// The PC's writes to a board before its write's 16th chunk: the identification queries, the
// preparation, the header and the two address packets come first.
constexpr int kWritesToMidChunk = 26;

}  // namespace

class ProductionRoundTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data();
    void initTestCase();
    void init();
    void numbersAreNeverIssuedTwice();
    void aStopEndsTheWritesAndIsRecorded();
    void anUnreachableDatabaseTouchesNoBoard();

private:
    [[nodiscard]] RoundOrder order(FailurePolicy policy) const
    {
        RoundOrder order;
        order.job = roundJob(kPart, policy);
        order.device = shippedDevice(kPart);
        order.database = parseLineDatabaseAddress(m_address, QStringLiteral("bench")).value();
        order.station = QStringLiteral("bench");
        return order;
    }

    PostgresDatabases m_postgres;
    QTemporaryDir m_folder;
    QString m_address;  // of this case's fresh database
};

void ProductionRoundTest::initTestCase_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<FailurePolicy>("policy");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("sqlite, reuse") << "sqlite" << FailurePolicy::Reuse << 20260301u;
    QTest::newRow("postgresql, burn") << "postgresql" << FailurePolicy::Burn << 20260302u;
}

void ProductionRoundTest::initTestCase() { QVERIFY2(m_postgres.ready(), "no PostgreSQL server"); }

void ProductionRoundTest::init()
{
    QFETCH_GLOBAL(QString, backend);
    m_address = backend == QLatin1String("sqlite")
                    ? m_folder.filePath(m_postgres.freshName() + QStringLiteral(".sqlite"))
                    : m_postgres.freshDatabase();
    QVERIFY(!m_address.isEmpty());
}

void ProductionRoundTest::numbersAreNeverIssuedTwice()
{
    QFETCH_GLOBAL(FailurePolicy, policy);
    QFETCH_GLOBAL(unsigned, seed);
    std::mt19937 random(seed);
    RoundLines lines(kPaths, kPart);
    const RoundOrder round = order(policy);
    RoundRunner runner(lines, round, lines.links());
    QVERIFY(!runner.open().isFailure());
    QStringList wrong;
    for (int number = 1; number <= kRounds; ++number) {
        QList<QStringList> faults;
        for (int board = 0; board < kPaths.size(); ++board) {
            faults.append(randomFaults(random, kWriteChunks));
        }
        lines.nextRound(faults);
        const QList<RoundResult> results = runner.runRound();
        lines.settle();
        for (int board = 0; board < kPaths.size(); ++board) {
            const QString problem =
                judgeRound(results.at(board), lines.board(board), round.job, faults.at(board));
            if (!problem.isEmpty()) {
                wrong.append(QStringLiteral("round %1, board %2 (%3): %4")
                                 .arg(number)
                                 .arg(board)
                                 .arg(faults.at(board).join(' '), problem));
            }
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));

    LineDatabase log;
    QVERIFY(!log.open(round.database, round.station).isFailure());
    const ChipRecords records = log.chips();
    QCOMPARE(records.records.size(), kRounds * kPaths.size());
    QVERIFY(log.unfinished().records.isEmpty());
    const QStringList twice = numbersIssuedTwice(records.records);
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join(' ')));
}

void ProductionRoundTest::aStopEndsTheWritesAndIsRecorded()
{
    RoundLines lines(kPaths, kPart);
    const RoundOrder round = order(FailurePolicy::Burn);
    RoundRunner runner(lines, round, lines.links());
    lines.atWrite(0, kWritesToMidChunk, [&runner] { runner.stop(); });
    QVERIFY(!runner.open().isFailure());
    const QList<RoundResult> stopped = runner.runRound();
    QCOMPARE(stopped.at(0).kind, RoundResult::Kind::Recorded);
    QCOMPARE(stopped.at(0).record.result, ChipResult::Failed);
    QCOMPARE(stopped.at(0).record.numbers, NumberFate::Burnt);
    QVERIFY(stopped.at(0).record.writtenTo > 0);
    QVERIFY(stopped.at(0).record.writtenTo < round.job.length - 1);
    QCOMPARE(stopped.at(0).chip.access.kind, AccessOutcome::Kind::Cancelled);
    for (const RoundResult& result : stopped) QCOMPARE(result.kind, RoundResult::Kind::Recorded);

    lines.nextRound({});
    for (const RoundResult& result : runner.runRound()) {
        QCOMPARE(result.kind, RoundResult::Kind::NotStarted);
    }
    for (int board = 0; board < kPaths.size(); ++board) {
        QVERIFY(lines.board(board).fromPc().isEmpty());
    }
    LineDatabase log;
    QVERIFY(!log.open(round.database, round.station).isFailure());
    QCOMPARE(log.chips().records.size(), kPaths.size());
    QVERIFY(log.unfinished().records.isEmpty());
}

void ProductionRoundTest::anUnreachableDatabaseTouchesNoBoard()
{
    RoundLines lines(kPaths, kPart);
    RoundOrder round = order(FailurePolicy::Burn);
    QFETCH_GLOBAL(QString, backend);
    round.database =
        parseLineDatabaseAddress(backend == QLatin1String("sqlite")
                                     ? m_folder.filePath("no-folder/line.sqlite")
                                     : QStringLiteral("postgresql://vorle@127.0.0.1:1/line"),
                                 round.station)
            .value();
    RoundRunner runner(lines, round, lines.links());
    QCOMPARE(runner.open().kind, LineFailure::Kind::Unreachable);
    for (const RoundResult& result : runner.runRound()) {
        QCOMPARE(result.kind, RoundResult::Kind::NoNumbers);
    }
    for (int board = 0; board < kPaths.size(); ++board) {
        QVERIFY(lines.board(board).fromPc().isEmpty());
    }
}

QTEST_GUILESS_MAIN(ProductionRoundTest)
#include "tst_production_round.moc"
