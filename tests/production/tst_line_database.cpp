// The line database on both backends: SQLite files, and a private PostgreSQL server that the
// postgres_server fixture starts. Every case runs on each; nothing is mocked.
#include "production/LineDatabase.h"
#include "production/LineSchema.h"
#include "production/LogExport.h"

#include "support/LineJobs.h"
#include "support/PostgresDatabases.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>
#include <thread>
#include <vector>

Q_DECLARE_METATYPE(ChipResult)
Q_DECLARE_METATYPE(FailurePolicy)
Q_DECLARE_METATYPE(NumberFate)

namespace {

const QString kPort = QStringLiteral("/dev/ttyUSB0");
const QString kStation = QStringLiteral("bench-1");
constexpr int kThreads = 4;
constexpr int kChipsPerThread = 20;
constexpr int kChipsPerProcess = 25;
constexpr int kProcessDeadlineMs = 60000;

ChipOutcome outcomeOf(ChipResult result)
{
    ChipOutcome outcome;
    outcome.result = result;
    outcome.board = QStringLiteral("QZ-PGM Ver 6.00");
    return outcome;
}

}  // namespace

class LineDatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data();
    void initTestCase();
    void init();
    void cleanup();
    void threadsNeverShareANumber();
    void processesNeverShareANumber();
    void aFailedChipsNumbers_data();
    void aFailedChipsNumbers();
    void aNumberWithoutOutcomeIsNeverReissued();
    void theLastValueEndsTheSeries();
    void csvValuesGoOutInFileOrder();
    void theSchemaIsCreatedAndUpgraded();
    void anUnreachableDatabaseIsRefused();
    void theLogIsExportedSince();

private:
    [[nodiscard]] bool postgres() const { return m_text.startsWith(QLatin1String("postgresql")); }
    [[nodiscard]] LineDatabaseAddress address() const
    {
        return parseLineDatabaseAddress(m_text, kStation).value();
    }
    // A connection of the test's own, beside the program's, to set a database up by hand.
    [[nodiscard]] QSqlDatabase rawConnection() const;
    void opened(LineDatabase& database)
    {
        const LineFailure failure = database.open(address(), kStation);
        QVERIFY2(!failure.isFailure(), qPrintable(failure.detail));
    }

    PostgresDatabases m_postgres;
    QString m_text;  // the address of this case's fresh database
    QTemporaryDir m_folder;
};

void LineDatabaseTest::initTestCase_data()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("postgresql") << "postgresql";
}

void LineDatabaseTest::initTestCase()
{
    QVERIFY2(m_postgres.ready(), "no PostgreSQL server: the postgres_server fixture did not run");
}

void LineDatabaseTest::init()
{
    QFETCH_GLOBAL(QString, backend);
    m_text = backend == QLatin1String("sqlite")
                 ? m_folder.filePath(m_postgres.freshName() + QStringLiteral(".sqlite"))
                 : m_postgres.freshDatabase();
    QVERIFY(!m_text.isEmpty());
}

void LineDatabaseTest::cleanup()
{
    if (QSqlDatabase::contains(QStringLiteral("raw")))
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

QSqlDatabase LineDatabaseTest::rawConnection() const
{
    const LineDatabaseAddress where = address();
    QSqlDatabase database = QSqlDatabase::addDatabase(where.driverName(), QStringLiteral("raw"));
    database.setDatabaseName(postgres() ? where.database : where.path);
    database.setHostName(where.host);
    database.setPort(where.port);
    database.setUserName(where.user);
    if (!database.open()) qFatal("cannot open the database by hand");
    return database;
}

void LineDatabaseTest::threadsNeverShareANumber()
{
    const ProductionJob job = numberedJob(QStringLiteral("threads"), 1000, 99999999);
    {
        LineDatabase first;  // creates the tables before the threads race for numbers
        opened(first);
    }
    std::mutex mutex;
    QList<qint64> numbers;
    QStringList failures;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            LineDatabase database;
            LineFailure failure = database.open(address(), kStation);
            for (int i = 0; i < kChipsPerThread && !failure.isFailure(); ++i) {
                const ChipAllocation allocation = database.allocate(job, QString::number(t));
                failure = allocation.failure;
                if (failure.isFailure()) break;
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    numbers.append(allocation.values.first().number);
                }
                failure =
                    database.record(allocation.chip, outcomeOf(ChipResult::Verified), job.onFailure)
                        .failure;
            }
            const std::lock_guard<std::mutex> lock(mutex);
            if (failure.isFailure()) failures.append(failure.detail);
        });
    }
    for (std::thread& thread : threads) thread.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers.size(), kThreads * kChipsPerThread);
    for (int i = 0; i < numbers.size(); ++i) QCOMPARE(numbers.at(i), 1000 + i);
}

void LineDatabaseTest::processesNeverShareANumber()
{
    {
        LineDatabase first;
        opened(first);
    }
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int p = 0; p < 2; ++p) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(
            QStringLiteral(VORLE_LINE_ALLOCATOR),
            {m_text, QStringLiteral("processes"), QString::number(kChipsPerProcess)});
    }
    QList<qint64> numbers;
    for (const auto& process : processes) {
        QVERIFY(process->waitForFinished(kProcessDeadlineMs));
        QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
            if (!line.isEmpty()) numbers.append(line.toLongLong());
        }
    }
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers.size(), 2 * kChipsPerProcess);
    for (int i = 0; i < numbers.size(); ++i) QCOMPARE(numbers.at(i), 1 + i);
}

void LineDatabaseTest::aFailedChipsNumbers_data()
{
    QTest::addColumn<FailurePolicy>("policy");
    QTest::addColumn<ChipResult>("result");
    QTest::addColumn<NumberFate>("fate");
    QTest::addColumn<bool>("givenAgain");  // the next chip gets the same number

    QTest::newRow("burn: failed") << FailurePolicy::Burn << ChipResult::Failed << NumberFate::Burnt
                                  << false;
    QTest::newRow("burn: mismatch")
        << FailurePolicy::Burn << ChipResult::Mismatch << NumberFate::Burnt << false;
    QTest::newRow("burn: nothing sent")
        << FailurePolicy::Burn << ChipResult::NotWritten << NumberFate::Returned << true;
    QTest::newRow("reuse: failed")
        << FailurePolicy::Reuse << ChipResult::Failed << NumberFate::Returned << true;
    QTest::newRow("reuse: mismatch")
        << FailurePolicy::Reuse << ChipResult::Mismatch << NumberFate::Returned << true;
    QTest::newRow("reuse: verified")
        << FailurePolicy::Reuse << ChipResult::Verified << NumberFate::Used << false;
    QTest::newRow("reuse: written")
        << FailurePolicy::Reuse << ChipResult::Written << NumberFate::Used << false;
}

void LineDatabaseTest::aFailedChipsNumbers()
{
    QFETCH(FailurePolicy, policy);
    QFETCH(ChipResult, result);
    QFETCH(NumberFate, fate);
    QFETCH(bool, givenAgain);

    const ProductionJob job = numberedJob(QStringLiteral("fates"), 10, 1000, policy, 10);
    LineDatabase database;
    opened(database);
    const ChipAllocation first = database.allocate(job, kPort);
    QVERIFY(first.ok());
    QCOMPARE(first.values.first().text, QStringLiteral("00000010"));
    const ChipRecording recorded = database.record(first.chip, outcomeOf(result), policy);
    QVERIFY(recorded.ok());
    QCOMPARE(recorded.record.result, result);
    QCOMPARE(recorded.record.numbers, fate);
    QCOMPARE(recorded.record.board, QStringLiteral("QZ-PGM Ver 6.00"));
    QCOMPARE(database.record(first.chip, outcomeOf(result), policy).failure.kind,
             LineFailure::Kind::AlreadyRecorded);

    // The window shows the next chip's number before it is taken.
    QCOMPARE(database.nextValues(job).values.first().number, givenAgain ? 10 : 20);
    QCOMPARE(database.nextValues(job).values.first().number, givenAgain ? 10 : 20);
    const ChipAllocation second = database.allocate(job, kPort);
    QVERIFY(second.ok());
    QCOMPARE(second.values.first().number, givenAgain ? 10 : 20);
    // A returned number goes out once more, not twice.
    QCOMPARE(database.allocate(job, kPort).values.first().number, givenAgain ? 20 : 30);
}

void LineDatabaseTest::aNumberWithoutOutcomeIsNeverReissued()
{
    const ProductionJob job = numberedJob(QStringLiteral("killed"), 1, 100, FailurePolicy::Reuse);
    qint64 lost = 0;
    {
        // A station stopped mid-round: the number was taken, no outcome ever came.
        LineDatabase station;
        opened(station);
        const ChipAllocation allocation = station.allocate(job, kPort);
        QVERIFY(allocation.ok());
        lost = allocation.chip;
    }
    LineDatabase database;
    opened(database);
    const ChipAllocation failed = database.allocate(job, kPort);
    QVERIFY(database.record(failed.chip, outcomeOf(ChipResult::Failed), job.onFailure).ok());
    QCOMPARE(database.allocate(job, kPort).values.first().number, 2);  // the failed chip's
    QCOMPARE(database.allocate(job, kPort).values.first().number, 3);
    const ChipRecords unfinished = database.unfinished();
    QCOMPARE(unfinished.records.size(), 3);
    QCOMPARE(unfinished.records.first().id, lost);
    QCOMPARE(unfinished.records.first().numbers, NumberFate::Taken);
    QCOMPARE(unfinished.records.first().serials.first().text, QStringLiteral("00000001"));
}

void LineDatabaseTest::theLastValueEndsTheSeries()
{
    ProductionJob job = numberedJob(QStringLiteral("short"), 5, 8, FailurePolicy::Burn, 2);
    SerialField board = job.serials.first();
    board.name = QStringLiteral("board");
    board.series = QStringLiteral("short.board");
    board.address = 8;
    board.start = 1;
    board.last = 1;
    const ProductionJob serialOnly = job;
    job.serials.append(board);

    LineDatabase database;
    opened(database);
    QVERIFY(database.allocate(job, kPort).ok());  // serial 5, board 1
    QCOMPARE(database.nextValues(job).failure.kind, LineFailure::Kind::Exhausted);
    const ChipAllocation refused = database.allocate(job, kPort);
    QCOMPARE(refused.failure.kind, LineFailure::Kind::Exhausted);
    QCOMPARE(refused.failure.field, QStringLiteral("board"));
    QCOMPARE(refused.failure.number, 1);
    QVERIFY(refused.values.isEmpty());
    QCOMPARE(database.chips().records.size(), 1);
    // The refused chip took nothing: 7 is still the serial field's next and last value.
    QCOMPARE(database.allocate(serialOnly, kPort).values.first().number, 7);
    QCOMPARE(database.allocate(serialOnly, kPort).failure.kind, LineFailure::Kind::Exhausted);
}

void LineDatabaseTest::csvValuesGoOutInFileOrder()
{
    ProductionJob job = numberedJob(QStringLiteral("keys"), 0, 2, FailurePolicy::Reuse);
    SerialField& field = job.serials.first();
    field.format = SerialFormat::Csv;
    field.csvValues = {QStringLiteral("K1"), QStringLiteral("K2"), QStringLiteral("K3")};
    LineDatabase database;
    opened(database);
    const ChipAllocation first = database.allocate(job, kPort);
    QCOMPARE(first.values.first().csvText, QStringLiteral("K1"));
    QVERIFY(database.record(first.chip, outcomeOf(ChipResult::Mismatch), job.onFailure).ok());
    // The file gained a value before the others: values already out are never given again.
    field.csvValues.prepend(QStringLiteral("K0"));
    field.last = 3;
    QStringList next;
    QStringList given;
    for (int i = 0; i < 4; ++i) {
        next.append(database.nextValues(job).values.value(0).text);
        given.append(database.allocate(job, kPort).values.value(0).text);
    }
    QCOMPARE(given, QStringList({"K1", "K2", "K3", ""}));
    QCOMPARE(next, given);
}

void LineDatabaseTest::theSchemaIsCreatedAndUpgraded()
{
    {
        QSqlDatabase raw = rawConnection();
        QVERIFY(!LineSchema::bring(raw, 1).isFailure());
        QSqlQuery query(raw);
        QVERIFY(
            query.exec(QStringLiteral("INSERT INTO serial_numbers (series, value, number, "
                                      "state, chip) VALUES ('old.serial', '5', 5, 'used', 1)")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    {
        LineDatabase database;
        opened(database);
        QCOMPARE(database.allocate(numberedJob(QStringLiteral("old"), 1, 99), kPort)
                     .values.first()
                     .number,
                 6);
    }
    {
        QSqlDatabase raw = rawConnection();
        LineFailure failure;
        QCOMPARE(LineSchema::version(raw, failure), LineSchema::kVersion);
        QSqlQuery query(raw);
        QVERIFY(query.exec(QStringLiteral("UPDATE schema_version SET version = 99")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    LineDatabase database;
    const LineFailure refused = database.open(address(), kStation);
    QCOMPARE(refused.kind, LineFailure::Kind::SchemaTooNew);
    QCOMPARE(refused.number, 99);
    QVERIFY(!database.isOpen());
}

void LineDatabaseTest::anUnreachableDatabaseIsRefused()
{
    LineDatabase database;
    QCOMPARE(database.allocate(numberedJob(QStringLiteral("none"), 1, 9), kPort).failure.kind,
             LineFailure::Kind::Unreachable);
    QStringList addresses;
    if (postgres()) {
        addresses << QStringLiteral("postgresql://vorle@127.0.0.1:%1/no_such_database")
                         .arg(m_postgres.port())
                  << QStringLiteral("postgresql://vorle@127.0.0.1:1/line");
    } else {
        const QString notDatabase = m_folder.filePath(QStringLiteral("text.sqlite"));
        QFile file(notDatabase);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        addresses << m_folder.filePath(QStringLiteral("no-folder/line.sqlite")) << notDatabase;
    }
    for (const QString& text : addresses) {
        const LineFailure failure =
            database.open(parseLineDatabaseAddress(text, kStation).value(), kStation);
        QVERIFY2(failure.kind == LineFailure::Kind::Unreachable, qPrintable(text));
        QVERIFY(!failure.detail.isEmpty());
        QVERIFY(!database.isOpen());
    }
}

void LineDatabaseTest::theLogIsExportedSince()
{
    const ProductionJob job = numberedJob(QStringLiteral("log"), 1, 99);
    LineDatabase database;
    opened(database);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    const ChipAllocation good = database.allocate(job, kPort);
    QVERIFY(database.record(good.chip, outcomeOf(ChipResult::Verified), job.onFailure).ok());
    const ChipAllocation bad = database.allocate(job, QStringLiteral("/dev/ttyUSB1"));
    ChipOutcome mismatch = outcomeOf(ChipResult::Mismatch);
    mismatch.mismatch = FirstMismatch{0x10, 0xAA, 0xAB};
    mismatch.duration = std::chrono::milliseconds{2500};
    mismatch.writtenTo = 0xFF;
    QVERIFY(database.record(bad.chip, mismatch, job.onFailure).ok());

    QCOMPARE(database.chips(QDateTime::currentDateTimeUtc().addSecs(60)).records.size(), 0);
    const QList<ChipRecord> records = database.chips(before).records;
    QCOMPARE(records.size(), 2);
    const QList<QByteArray> csv = exportLog(records, LogFormat::Csv).split('\n');
    QCOMPARE(csv.size(), 4);  // header, two chips, the empty end
    QVERIFY(csv.at(2).contains(",/dev/ttyUSB1,QZ-PGM Ver 6.00,24C02,log,"));
    QVERIFY(csv.at(2).endsWith(",serial=00000002,mismatch,burnt,0x00010,0xAA,0xAB,2.500,0x000FF"));
    const QJsonObject json =
        QJsonDocument::fromJson(exportLog(records, LogFormat::Json).split('\n').at(1)).object();
    QCOMPARE(json.value("station").toString(), kStation);
    QCOMPARE(json.value("serials").toObject().value("serial").toString(),
             QStringLiteral("00000002"));
    QCOMPARE(json.value("firstMismatch").toObject().value("actual").toInt(), 0xAB);
    QCOMPARE(json.value("imageSha256").toString(), job.imageSha256);
    QCOMPARE(json.value("seconds").toDouble(), 2.5);
    QCOMPARE(json.value("writtenTo").toInteger(), 0xFF);
}

QTEST_GUILESS_MAIN(LineDatabaseTest)
#include "tst_line_database.moc"
