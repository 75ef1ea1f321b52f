// The real vorle6-cli against qzpgm-sim on pseudo-terminals: the wiring of the program, its
// threads, its ports and its Ctrl+C, which the in-process tests stand in for.
#include "cli/ImageFile.h"
#include "files/ImageFileSave.h"
#include "link/QtSerialPort.h"
#include "support/SimProcess.h"
#include "support/TestEnvironment.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray output;
    QString errors;
};

QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 13 + seed) & 0xFF);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class CliProcessTest : public QObject {
    Q_OBJECT

private slots:
    void writeReadAndVerify_data();
    void writeReadAndVerify();
    void twoBoardsAtOnce();
    void aPortHeldElsewhereIsRefused();
    void ctrlCStopsARead();
    void standardInputEnds_data();
    void standardInputEnds();

private:
    void start(QProcess& process, const QStringList& arguments);
    Ran run(const QStringList& arguments);

    TestEnvironment m_environment{false};
    QTemporaryDir m_runtime;
    QTemporaryDir m_files;
};

void CliProcessTest::start(QProcess& process, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(VORLE_CLI_PROGRAM));
    process.setArguments(arguments + SimProcess::shippedData());
    process.start();
}

Ran CliProcessTest::run(const QStringList& arguments)
{
    QProcess process;
    start(process, arguments);
    Ran ran;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return ran;
    }
    ran.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.output = process.readAllStandardOutput();
    ran.errors = QString::fromUtf8(process.readAllStandardError());
    return ran;
}

void CliProcessTest::writeReadAndVerify_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("extension");
    QTest::newRow("24C64, Intel HEX") << "24C64"
                                      << "hex";
    QTest::newRow("93C66, binary") << "AT93C66"
                                   << "bin";
}

void CliProcessTest::writeReadAndVerify()
{
    QFETCH(QString, part);
    QFETCH(QString, extension);
    const SimProcess sim(QStringList{"--device", part} + SimProcess::shippedData());
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
    const QString port = sim.devicePath();
    const ImageFileFormat format = *imageFormatNamed(extension);
    const qint64 size = part == QLatin1String("24C64") ? 8192 : 512;
    const QByteArray image = pattern(size, 5);
    const QString written = m_files.filePath("written." + extension);
    const QString back = m_files.filePath("back." + extension);
    writeFile(written, imageFileContents(format, image));

    Ran ran = run({"write", "-d", part, "-p", port, "-i", written});
    QVERIFY2(ran.exitCode == 0, qPrintable(ran.errors));
    ran = run({"read", "-d", part, "-p", port, "-o", back});
    QVERIFY2(ran.exitCode == 0, qPrintable(ran.errors));
    QCOMPARE(readFile(back), readFile(written));

    QByteArray changed = image;
    changed[0x155] = static_cast<char>(changed.at(0x155) ^ 0x40);
    writeFile(written, imageFileContents(format, changed));
    ran = run({"verify", "-d", part, "-p", port, "-i", written, "--json"});
    QCOMPARE(ran.exitCode, 5);
    QVERIFY2(ran.errors.contains(QStringLiteral("verify failed: 1 of %1 bytes differ; the first at "
                                                "0x00155")
                                     .arg(size)),
             qPrintable(ran.errors));
    const QJsonObject result = QJsonDocument::fromJson(ran.output).object();
    QCOMPARE(result["firstMismatch"]["address"].toInt(), 0x155);
    QCOMPARE(result["firstMismatch"]["actual"].toInt(), static_cast<quint8>(image.at(0x155)));
}

void CliProcessTest::twoBoardsAtOnce()
{
    const SimProcess first(QStringList{"--device", "24C02"} + SimProcess::shippedData());
    const SimProcess second(QStringList{"--device", "24C02"} + SimProcess::shippedData());
    QVERIFY(first.isRunning() && second.isRunning());
    const QString image = m_files.filePath("two.bin");
    writeFile(image, pattern(256, 9));
    Ran ran = run(
        {"write", "-d", "24C02", "-i", image, "-p", first.devicePath(), "-p", second.devicePath()});
    QVERIFY2(ran.exitCode == 0, qPrintable(ran.errors));
    QCOMPARE(ran.output.count("write OK"), 2);
    ran = run({"read", "-d", "24C02", "-o", m_files.filePath("two-%p.bin"), "-p",
               first.devicePath(), "-p", second.devicePath()});
    QVERIFY2(ran.exitCode == 0, qPrintable(ran.errors));
    for (const SimProcess* sim : {&first, &second}) {
        const QString name = QFileInfo(sim->devicePath()).fileName();
        QCOMPARE(readFile(m_files.filePath("two-" + name + ".bin")), pattern(256, 9));
    }
}

void CliProcessTest::aPortHeldElsewhereIsRefused()
{
    const SimProcess sim(QStringList{"--device", "24C02"} + SimProcess::shippedData());
    QVERIFY(sim.isRunning());
    QtSerialPort held;
    held.setDevicePath(sim.devicePath());
    QVERIFY(held.open());
    const Ran ran = run({"detect", "-p", sim.devicePath()});
    QCOMPARE(ran.exitCode, 3);
    QVERIFY2(ran.errors.contains(QStringLiteral("tst_cli_process (PID %1) has the port open")
                                     .arg(QCoreApplication::applicationPid())),
             qPrintable(ran.errors));
    QVERIFY(sim.fromPc().isEmpty());
}

void CliProcessTest::ctrlCStopsARead()
{
    const SimProcess sim(QStringList{"--device", "24C16", "--baud", "57600"} +
                         SimProcess::shippedData());
    QVERIFY(sim.isRunning());
    const QString output = m_files.filePath("stopped.bin");
    QProcess process;
    start(process, {"read", "-d", "24C16", "-p", sim.devicePath(), "-o", output});
    QByteArray errors;
    const QDeadlineTimer deadline(20000);
    while (!errors.contains("read 10 %") && !deadline.hasExpired() &&
           process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        errors += process.readAllStandardError();
    }
    QVERIFY2(errors.contains("read 10 %"), errors.constData());
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    errors += process.readAllStandardError();
    QCOMPARE(process.exitCode(), 130);
    QVERIFY2(errors.contains("24C16 read FAILED (exit 130): interrupted during the read after"),
             errors.constData());
    QVERIFY(!QFile::exists(output));
    // The port was closed: the board serves the next command.
    const Ran ran = run({"detect", "-p", sim.devicePath()});
    QVERIFY2(ran.exitCode == 0, qPrintable(ran.errors));
}

// Whether the process is vorle6-cli and catches SIGINT and SIGTERM (the SigCgt mask of
// /proc/PID/status); until it has run the program, the child has this test's handlers.
bool catchesSignals(qint64 pid)
{
    QFile name(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!name.open(QIODevice::ReadOnly) || name.readAll().trimmed() != "vorle6-cli") return false;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:")) continue;
        const quint64 mask = line.mid(7).trimmed().toULongLong(nullptr, 16);
        const quint64 wanted = (quint64{1} << (SIGINT - 1)) | (quint64{1} << (SIGTERM - 1));
        return (mask & wanted) == wanted;
    }
    return false;
}

void CliProcessTest::standardInputEnds_data()
{
    QTest::addColumn<int>("signal");     // 0: none; else sent once the program catches it
    QTest::addColumn<QString>("input");  // a file for standard input; empty: a pipe kept open
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    QTest::newRow("Ctrl+C on a pipe that stays open")
        << int{SIGINT} << "" << 130 << "interrupted while reading standard input";
    QTest::newRow("SIGTERM on a pipe that stays open")
        << int{SIGTERM} << "" << 130 << "interrupted while reading standard input";
    QTest::newRow("a stream without end") << 0 << "/dev/zero" << 2 << "more than 16777216 bytes";
}

void CliProcessTest::standardInputEnds()
{
    QFETCH(int, signal);
    QFETCH(QString, input);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QProcess process;
    if (!input.isEmpty()) process.setStandardInputFile(input);
    // The port is never reached: the image comes first.
    start(process, {"write", "-d", "24C02", "-p", "/dev/null", "-i", "-", "--format", "bin"});
    QVERIFY(process.waitForStarted());
    if (signal != 0) {
        QVERIFY(QTest::qWaitFor([&] { return catchesSignals(process.processId()); }, 10000));
        ::kill(static_cast<pid_t>(process.processId()), signal);
    }
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains(said), qPrintable(errors));
}

QTEST_GUILESS_MAIN(CliProcessTest)
#include "tst_cli_process.moc"
