// vorle6-cli's production commands that touch no board: job new, job check and log, with their
// exit codes and the field a refusal names.
#include "production/LineDatabase.h"
#include "support/LineJobs.h"

#include "CliFixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <sys/stat.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

}  // namespace

class CliProductionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void commandsAndTheirExitCodes_data();
    void commandsAndTheirExitCodes();

private:
    std::unique_ptr<CliFixture> m_cli;
};

void CliProductionTest::init()
{
    m_cli = std::make_unique<CliFixture>();
    writeFile(m_cli->path("fw.bin"), QByteArray(8192, '\x5A'));
    writeFile(m_cli->path("keys.csv"), "key\nAAAA\nBBBB\n");
    writeFile(m_cli->path("broken.json"), "{\"vorle6Job\": 1,");
    const CliRun made =
        m_cli->run({"job", "new", "-o", m_cli->path("good.json"), "-d", "24c64", "-i",
                    m_cli->path("fw.bin"), "--serial", "serial:16:8:decimal:1", "--serial",
                    "key:0x40:4:csv:" + m_cli->path("keys.csv")});
    QCOMPARE(made.exitCode, 0);

    // One chip in the log of a station's database file.
    const auto address = parseLineDatabaseAddress(m_cli->path("line.sqlite"), {});
    LineDatabase database;
    QVERIFY(!database.open(*address, QStringLiteral("bench-1")).isFailure());
    const ProductionJob job = numberedJob(QStringLiteral("widget"), 7, 99);
    const ChipAllocation chip = database.allocate(job, QStringLiteral("/dev/ttyUSB0"));
    ChipOutcome outcome;
    outcome.result = ChipResult::Verified;
    QVERIFY(database.record(chip.chip, outcome, job.onFailure).ok());
}

void CliProductionTest::commandsAndTheirExitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");  // {dir} is the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");  // on standard output or standard error

    const QString good = QStringLiteral("{dir}good.json");
    QTest::newRow("check good") << QStringList{"job", "check", good} << 0
                                << "key: csv, 4 bytes at 0x00040, 2 values from keys.csv";
    QTest::newRow("check broken") << QStringList{"job", "check", "{dir}broken.json"} << 2
                                  << "not a JSON object";
    QTest::newRow("check missing")
        << QStringList{"job", "check", "{dir}none.json"} << 2 << "cannot be read";
    QTest::newRow("check without file") << QStringList{"job", "check"} << 1 << "job check JOB";
    QTest::newRow("new over a job")
        << QStringList{"job",   "new", "-o",          good,       "-d",
                       "24c64", "-i",  "{dir}fw.bin", "--serial", "s:0:4:hex:0"}
        << 2 << "never replaced";
    QTest::newRow("new outside range")
        << QStringList{"job", "new",         "-o",       "{dir}n.json", "-d",       "24c64",
                       "-i",  "{dir}fw.bin", "--length", "16",          "--serial", "s:16:4:hex:0"}
        << 1 << "serials[0].address";
    QTest::newRow("new value too long")
        << QStringList{"job",   "new", "-o",          "{dir}n.json", "-d",
                       "24c64", "-i",  "{dir}fw.bin", "--serial",    "s:0:2:decimal:1:1:100"}
        << 1 << "serials[0].last";
    QTest::newRow("new bad serial")
        << QStringList{"job",   "new", "-o",          "{dir}n.json", "-d",
                       "24c64", "-i",  "{dir}fw.bin", "--serial",    "s:0:2"}
        << 1 << "--serial s:0:2";
    QTest::newRow("new from a named pipe")
        << QStringList{"job",   "new", "-o",           "{dir}n.json", "-d",
                       "24c64", "-i",  "{dir}fw.fifo", "--serial",    "s:0:2:hex:0"}
        << 2 << "cannot read {dir}fw.fifo: it is not a regular file";
    QTest::newRow("new with a CSV named pipe")
        << QStringList{"job",   "new", "-o",          "{dir}n.json", "-d",
                       "24c64", "-i",  "{dir}fw.bin", "--serial",    "k:0:4:csv:{dir}fw.fifo"}
        << 2 << "the CSV file cannot be read";
    QTest::newRow("new unknown part")
        << QStringList{"job",   "new", "-o",          "{dir}n.json", "-d",
                       "24C99", "-i",  "{dir}fw.bin", "--serial",    "s:0:2:hex:0"}
        << 1 << "part: there is no part '24C99'";
    QTest::newRow("log") << QStringList{"log", "--db", "{dir}line.sqlite"} << 0
                         << "  bench-1  /dev/ttyUSB0  widget  verified  used  serial=00000007";
    QTest::newRow("log csv") << QStringList{"log", "--db", "{dir}line.sqlite", "--csv"} << 0
                             << "id,time,finished,station";
    QTest::newRow("log json since")
        << QStringList{"log", "--db", "{dir}line.sqlite", "--json", "--since", "2000-01-01"} << 0
        << "\"serials\":{\"serial\":\"00000007\"}";
    QTest::newRow("log bad since")
        << QStringList{"log", "--since", "yesterday"} << 1 << "--since takes a date";
    QTest::newRow("log unreachable")
        << QStringList{"log", "--db", "{dir}none/line.sqlite"} << 2 << "cannot be reached";
    QTest::newRow("log option of job")
        << QStringList{"log", "--serial", "s:0:2:hex:0"} << 1 << "--serial does not apply to log";
}

void CliProductionTest::commandsAndTheirExitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);

    const QString dir = m_cli->files.path() + QLatin1Char('/');
    arguments.replaceInStrings(QStringLiteral("{dir}"), dir);
    said.replace(QStringLiteral("{dir}"), dir);
    QCOMPARE(::mkfifo(QFile::encodeName(dir + "fw.fifo").constData(), 0600), 0);
    const CliRun run = m_cli->run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.outputText().contains(said) || run.errors.contains(said),
             qPrintable(run.outputText() + run.errors));
    // A log that can be read gives its chips, whatever the form.
    if (arguments.first() == QLatin1String("log") && exitCode == 0) return;
    // With --json, the outcome as one object on standard output, failures included.
    const CliRun json = m_cli->run(arguments + QStringList{"--json"});
    const QJsonObject object = QJsonDocument::fromJson(json.output).object();
    QCOMPARE(json.exitCode, exitCode);
    QCOMPARE(object["exitCode"].toInt(), exitCode);
    QCOMPARE(object["operation"].toString(),
             arguments.mid(0, arguments.first() == "job" ? 2 : 1).join(' '));
    QVERIFY(!object["message"].toString().isEmpty());
}

QTEST_GUILESS_MAIN(CliProductionTest)
#include "tst_cli_production.moc"
