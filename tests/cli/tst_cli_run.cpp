// vorle6-cli run on emulated boards in fake time: what it refuses before any board is touched,
// what a round prints and records, and rounds one after another with --loop.
#include "production/LineDatabase.h"

#include "CliFixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString kGood = QStringLiteral("/dev/ttyUSB0");
const QString kFlipped = QStringLiteral("/dev/ttyUSB1");

QList<QJsonObject> jsonLines(const QByteArray& output)
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.isEmpty()) objects.append(QJsonDocument::fromJson(line).object());
    }
    return objects;
}

}  // namespace

class CliRunTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void refusedBeforeAnyBoardIsTouched_data();
    void refusedBeforeAnyBoardIsTouched();
    void aRoundPrintsWhatTheLogRecords();
    void roundsFollowTheKeyUntilTheInputEnds();

private:
    [[nodiscard]] QList<ChipRecord> log() const
    {
        LineDatabase database;
        if (database.open(*parseLineDatabaseAddress(m_cli->path("line.sqlite"), {}), "test")
                .isFailure()) {
            return {};
        }
        return database.chips().records;
    }

    std::unique_ptr<CliFixture> m_cli;
    EmulatedBoard* m_good = nullptr;
    EmulatedBoard* m_flipped = nullptr;
};

void CliRunTest::init()
{
    m_cli = std::make_unique<CliFixture>();
    m_good = &m_cli->lines.add(kGood, QStringLiteral("24C02"));
    m_flipped = &m_cli->lines.add(kFlipped, QStringLiteral("24C02"), {"flip@3"});
    QFile image(m_cli->path("fw.bin"));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.write(QByteArray(256, '\x5A'));
    image.close();
    QCOMPARE(m_cli
                 ->run({"job", "new", "-o", m_cli->path("job.json"), "-d", "24C02", "-i",
                        m_cli->path("fw.bin"), "--serial", "serial:0x10:8:decimal:1"})
                 .exitCode,
             0);
    QFile job(m_cli->path("tampered.json"));
    QFile original(m_cli->path("job.json"));
    QVERIFY(original.open(QIODevice::ReadOnly) && job.open(QIODevice::WriteOnly));
    job.write(original.readAll().replace("\"verify\"", "\"verfy\""));
}

void CliRunTest::refusedBeforeAnyBoardIsTouched_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("unknown key in the job") << QStringList{"tampered.json"} << 2 << "verfy";
    QTest::newRow("no job file") << QStringList{"none.json"} << 2 << "cannot be read";
    QTest::newRow("database not reachable")
        << QStringList{"job.json", "--db", "postgresql://vorle@127.0.0.1:1/line"} << 2
        << "cannot be reached";
    QTest::newRow("database folder missing")
        << QStringList{"job.json", "--db", "{dir}/no-folder/line.sqlite"} << 2
        << "cannot be reached";
    QTest::newRow("key without loop") << QStringList{"job.json", "--key", "x"} << 1 << "--loop";
    QTest::newRow("parts file a named pipe")
        << QStringList{"job.json", "--data", "{dir}/parts.fifo"} << 2 << "is not a regular file";
    // Ctrl+C while the files were read, still in the event queue when the line opens.
    QTest::newRow("interrupted") << QStringList{"job.json"} << 130 << "interrupted";
}

void CliRunTest::refusedBeforeAnyBoardIsTouched()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    arguments.first() = m_cli->path(arguments.first());
    arguments.replaceInStrings(QStringLiteral("{dir}"), m_cli->files.path());
    if (!arguments.contains(QStringLiteral("--db"))) {
        arguments << "--db" << m_cli->path("line.sqlite");
    }
    QCOMPARE(::mkfifo(QFile::encodeName(m_cli->path("parts.fifo")).constData(), 0600), 0);
    const auto interrupt = [](CliProgram& program) {
        QMetaObject::invokeMethod(&program, &CliProgram::interrupt, Qt::QueuedConnection);
    };
    const CliRun run = m_cli->run(
        QStringList{"run"} + arguments + QStringList{"-p", kGood, "-p", kFlipped, "--json"},
        ParallelRunner::Mode::ThreadPerBoard, {},
        exitCode == 130 ? std::function<void(CliProgram&)>(interrupt) : nullptr);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(says), qPrintable(run.errors));
    // The one result a script reading the rounds gets.
    const QList<QJsonObject> printed = jsonLines(run.output);
    QCOMPARE(printed.size(), 1);
    QCOMPARE(printed.first()["exitCode"].toInt(), exitCode);
    QCOMPARE(printed.first()["operation"].toString(), QStringLiteral("run"));
    QVERIFY(printed.first()["message"].toString().contains(says));
    QVERIFY(m_good->fromPc().isEmpty());
    QVERIFY(m_flipped->fromPc().isEmpty());
    QVERIFY(log().isEmpty());
}

void CliRunTest::aRoundPrintsWhatTheLogRecords()
{
    const CliRun run =
        m_cli->run({"run", m_cli->path("job.json"), "-p", kGood, "-p", kFlipped, "--db",
                    m_cli->path("line.sqlite"), "--station", "s1", "--json", "-q"});
    QCOMPARE(run.exitCode, 5);
    const QList<QJsonObject> printed = jsonLines(run.output);
    const QList<ChipRecord> records = log();
    QCOMPARE(printed.size(), 2);
    QCOMPARE(records.size(), 2);
    for (const QJsonObject& object : printed) {
        const ChipRecord& record = records.at(object.value("id").toInt() - 1);
        QJsonObject recorded = chipRecordJson(record);
        for (auto it = recorded.begin(); it != recorded.end(); ++it) {
            QCOMPARE(object.value(it.key()), it.value());
        }
        QCOMPARE(object.contains("error"), record.result != ChipResult::Verified);
    }
    const ChipRecord& good = records.at(printed.at(0).value("id").toInt() - 1);
    const ChipRecord& bad = records.at(printed.at(1).value("id").toInt() - 1);
    QCOMPARE(good.result, ChipResult::Verified);
    QCOMPARE(good.port, kGood);
    QCOMPARE(m_good->contents().mid(0x10, 8), good.serials.first().text.toLatin1());
    QCOMPARE(bad.result, ChipResult::Mismatch);
    QCOMPARE(bad.numbers, NumberFate::Burnt);
    QCOMPARE(bad.mismatch->address, 0x10);
    QVERIFY(run.errors.contains(
        QStringLiteral("%1: chip %2 FAILED (exit 5)").arg(kFlipped).arg(bad.id)));
}

void CliRunTest::roundsFollowTheKeyUntilTheInputEnds()
{
    const CliRun run = m_cli->run({"run", m_cli->path("job.json"), "-p", kGood, "--db",
                                   m_cli->path("line.sqlite"), "--loop", "--key", "n"},
                                  ParallelRunner::Mode::ThreadPerBoard, "xnyyn");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.outputText().endsWith("3 rounds: 3 chips passed, 0 failed\n"),
             qPrintable(run.outputText()));
    QCOMPARE(log().size(), 3);
    QCOMPARE(run.errors.count("press 'n'"), 3);
}

QTEST_GUILESS_MAIN(CliRunTest)
#include "tst_cli_run.moc"
