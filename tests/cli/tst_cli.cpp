// vorle6-cli in process against emulated boards in fake time: every command's good path, every
// exit code, the file formats and ranges, several boards at once, Ctrl+C and port claims; reads
// compared, backups, changed-only writes, checksums and chips that read all 0xFF.
#include "base/HexText.h"
#include "base/SettingsStore.h"
#include "cli/ImageFile.h"
#include "cli/PortChoice.h"
#include "cli/ProgressReport.h"
#include "cli/ResultTexts.h"
#include "devices/CatalogueLoad.h"
#include "devices/PartLookup.h"
#include "files/ImageByteOrder.h"
#include "files/ImageFileSave.h"
#include "files/IntelHexWriter.h"
#include "link/PortClaim.h"
#include "link/PortDevices.h"
#include "support/ScriptedSerialDevices.h"

#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

const QString kPort = QStringLiteral("/dev/ttyQZ0");
constexpr int kFileSeed = 7;
constexpr int kOtherSeed = 3;

QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + (i >> 8) * 3 + seed * 29) & 0xFF);
    }
    return bytes;
}

QByteArray blank(qint64 size) { return QByteArray(size, '\xFF'); }

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

// An image file's bytes as the part sees them.
QByteArray imageOf(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const std::optional<ImageFileFormat> format = imageFormatOfPath(path);
    return readImageFile(file, format.value_or(ImageFileFormat::Binary), size).bytes;
}

// The file's contents for `name` ("image.hex", "image.bin", ...) holding `bytes`.
QByteArray fileContents(const QString& name, const QByteArray& bytes)
{
    return imageFileContents(imageFormatOfPath(name).value_or(ImageFileFormat::Binary), bytes);
}

QStringList expand(QStringList arguments, const CliFixture& fixture)
{
    for (QString& argument : arguments) {
        argument.replace(QStringLiteral("{out}"), fixture.path(QStringLiteral("out")));
        argument.replace(QStringLiteral("{dir}"), fixture.files.path() + QLatin1Char('/'));
    }
    return arguments;
}

QList<QJsonObject> jsonLines(const QByteArray& output)
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.isEmpty()) objects.append(QJsonDocument::fromJson(line).object());
    }
    return objects;
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void commandsDoTheirWork_data();
    void commandsDoTheirWork();
    void failuresEndWithTheirExitCode_data();
    void failuresEndWithTheirExitCode();
    void helpIsTheCommands_data();
    void helpIsTheCommands();
    void verboseShowsTheLine();
    void rangesTouchOnlyTheirBytes();
    void standardStreamsCarryTheImage();
    void shortAndLongFiles();
    void x16DumpsRoundTrip();
    void hexAboveSixtyFourKiB();
    void severalBoardsRunAtOnce();
    void interruptStopsAtTheNextChunk();
    void interruptWhileTheFileIsReadSendsNothing();
    void aClaimedPortIsRefused();
    void thePortIsTheWindowsUnlessGiven();
    void searchAsksEveryDevice();
    void partsAndPortProblems();
    void progressLinesAndBar();
    void repeatedReadsNameAnUnreliableContact_data();
    void repeatedReadsNameAnUnreliableContact();
    void aBackupAndTheChangedChunksOnly();
    void checksumsAreTheToolsOwn_data();
    void checksumsAreTheToolsOwn();
    void allBlankIsANoticeNotAnError_data();
    void allBlankIsANoticeNotAnError();

private:
    void failWith(const QString& part, QStringList faults, const QString& file,
                  QStringList arguments, int exitCode, const QString& said, bool sendsNothing);
};

void CliTest::commandsDoTheirWork_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("board");  // "file": the file's bytes, "other", "blank"
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("input");   // the input file's name, holding pattern kFileSeed
    QTest::addColumn<QString>("after");   // the board afterwards: "file", "same", "blank"
    QTest::addColumn<QString>("output");  // the output file's name: it holds the board's bytes
    QTest::addColumn<QString>("said");

    const QStringList port{"-p", kPort};
    QTest::newRow("list") << ""
                          << "blank" << QStringList{"list"} << ""
                          << "same"
                          << ""
                          << "AT93C66    Microwire     512 bytes  page 1";
    QTest::newRow("detect") << "24C64"
                            << "blank" << QStringList{"detect", "-p", kPort} << ""
                            << "same"
                            << ""
                            << "QZ-PGM Ver 6.00 on /dev/ttyQZ0\n";
    QTest::newRow("read bin") << "24C64"
                              << "other"
                              << QStringList{"read", "-d", "24c64", "-o", "{dir}backup.bin"} + port
                              << ""
                              << "same"
                              << "backup.bin"
                              << "/dev/ttyQZ0: 24C64 read OK: read 8192 bytes in";
    QTest::newRow("read hex, Microwire")
        << "AT93C66"
        << "other" << QStringList{"read", "-d", "at93c66", "-o", "{dir}b.hex"} + port << ""
        << "same"
        << "b.hex"
        << "AT93C66 read OK: read 512 bytes";
    QTest::newRow("read, --format in capitals")
        << "24C02"
        << "other"
        << QStringList{"read", "-d", "24C02", "-o", "{dir}dump.img", "--format", "BIN"} + port << ""
        << "same"
        << "dump.img"
        << "24C02 read OK";
    QTest::newRow("write bin") << "24C64"
                               << "blank"
                               << QStringList{"write", "-d", "24C64", "-i", "{dir}image.bin"} + port
                               << "image.bin"
                               << "file"
                               << ""
                               << "24C64 write OK: wrote 8192 bytes and verified them in";
    QTest::newRow("write ihx, Microwire")
        << "AT93C66"
        << "other" << QStringList{"write", "-d", "AT93C66", "-i", "{dir}a.ihx"} + port << "a.ihx"
        << "file"
        << ""
        << "wrote 512 bytes and verified them";
    QTest::newRow("write without verify")
        << "24C02"
        << "blank" << QStringList{"write", "-d", "24C02", "-i", "{dir}a.ihex", "--no-verify"} + port
        << "a.ihex"
        << "file"
        << ""
        << "wrote 256 bytes in 0.";
    QTest::newRow("verify") << "24C64"
                            << "file"
                            << QStringList{"verify", "-d", "24C64", "-i", "{dir}image.hex"} + port
                            << "image.hex"
                            << "same"
                            << ""
                            << "verified 8192 bytes: the chip matches the file";
    QTest::newRow("blank") << "24C64"
                           << "blank" << QStringList{"blank", "-d", "24C64"} + port << ""
                           << "same"
                           << ""
                           << "blank: all 8192 bytes are 0xFF";
    QTest::newRow("erase") << "AT93C46"
                           << "other" << QStringList{"erase", "-d", "AT93C46"} + port << ""
                           << "blank"
                           << ""
                           << "erased 128 bytes and checked them blank in";
}

void CliTest::commandsDoTheirWork()
{
    QFETCH(QString, part);
    QFETCH(QString, board);
    QFETCH(QStringList, arguments);
    QFETCH(QString, input);
    QFETCH(QString, after);
    QFETCH(QString, output);
    QFETCH(QString, said);

    CliFixture fixture;
    EmulatedBoard* chip = nullptr;
    QByteArray before;
    QByteArray file;
    if (!part.isEmpty()) {
        chip = &fixture.lines.add(kPort, part);
        const qint64 size = chip->part().size();
        file = pattern(size, kFileSeed);
        before = board == QLatin1String("file")    ? file
                 : board == QLatin1String("other") ? pattern(size, kOtherSeed)
                                                   : blank(size);
        chip->setContents(before);
    }
    if (!input.isEmpty()) writeFile(fixture.path(input), fileContents(input, file));

    const CliRun run = fixture.run(expand(arguments, fixture));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QVERIFY2(run.outputText().contains(said), qPrintable(run.outputText()));
    if (chip) {
        const QByteArray expected = after == QLatin1String("file")    ? file
                                    : after == QLatin1String("blank") ? blank(before.size())
                                                                      : before;
        // The part programs the last page after the program has gone.
        fixture.lines.clock(kPort).advance(1s);
        QCOMPARE(chip->contents(), expected);
    }
    if (!output.isEmpty()) QCOMPARE(imageOf(fixture.path(output), before.size()), before);
}

void CliTest::failuresEndWithTheirExitCode_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QStringList>("faults");  // the board's; "5.10": its firmware
    QTest::addColumn<QString>("file");        // what {in} holds
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("sendsNothing");

    const QStringList port{"-p", kPort};
    const QStringList read = QStringList{"read", "-d", "24C64", "-o", "{dir}x.bin"} + port;
    const QStringList write = QStringList{"write", "-d", "24C64", "-i", "{in}"} + port;
    const QStringList none;

    // 1: the command line, the part or the range.
    QTest::newRow("no command") << "24C64" << none << "" << QStringList{} << 1 << "no command given"
                                << true;
    QTest::newRow("unknown command")
        << "24C64" << none << "" << QStringList{"burn"} << 1 << "unknown command 'burn'" << true;
    QTest::newRow("option of another command")
        << "24C64" << none << "" << read + QStringList{"--no-verify"} << 1
        << "--no-verify does not apply to read" << true;
    QTest::newRow("unknown part") << "24C64" << none << ""
                                  << QStringList{"blank", "-d", "93C66"} + port << 1
                                  << "no part '93C66'" << true;
    QTest::newRow("offset off a block")
        << "24C64" << none << "" << read + QStringList{"--offset", "8"} << 1
        << "must be multiples of 16" << true;
    QTest::newRow("length off a block")
        << "24C64" << none << "" << read + QStringList{"--offset", "0x100", "--length", "20"} << 1
        << "0x00100..0x00113 (20 bytes) does not start and end on a block" << true;
    QTest::newRow("range past the end")
        << "24C64" << none << "" << read + QStringList{"--offset", "0x1F00", "--length", "0x200"}
        << 1 << "512 bytes from 0x01F00 run past the end of the part" << true;
    QTest::newRow("offset past the end")
        << "24C64" << none << "" << QStringList{"erase", "-d", "24C64", "--offset", "8192"} + port
        << 1 << "offset 0x02000 lies beyond the end" << true;
    QTest::newRow("access size past the end")
        << "24C02" << none << ""
        << QStringList{"blank", "-d", "24C02", "--access-size", "512"} + port << 1
        << "512 bytes from 0x00000 run past the end" << true;
    QTest::newRow("no such port number")
        << "24C64" << none << "" << QStringList{"detect", "-p", "21"} << 1
        << "port 21 does not exist" << true;
    QTest::newRow("one port twice")
        << "24C64" << none << "" << read + port << 1 << "are the same device" << true;
    QTest::newRow("several boards, one file")
        << "24C64" << none << "" << read + QStringList{"-p", "/dev/ttyQZ1"} << 1 << "put %p"
        << true;
    QTest::newRow("offset above 32 bits")
        << "24C64" << none << "" << read + QStringList{"--offset", "0x100000000", "--length", "16"}
        << 1 << "offset 0x100000000 lies beyond the end of the part" << true;
    QTest::newRow("the image and JSON on standard output")
        << "24C64" << none << ""
        << QStringList{"read", "-d", "24C64", "-o", "-", "--format", "bin", "--json"} + port << 1
        << "-o - puts the image on standard output, where --json puts the results" << true;
    QTest::newRow("no reads") << "24C64" << none << "" << read + QStringList{"--reads", "0"} << 1
                              << "--reads takes a number from 1 to 9, not '0'" << true;
    QTest::newRow("a backup of a read")
        << "24C64" << none << "" << read + QStringList{"--backup", "{dir}"} << 1
        << "--backup does not apply to read" << true;
    QTest::newRow("standard input without a format")
        << "24C64" << none << "" << QStringList{"verify", "-d", "24C64", "-i", "-"} + port << 1
        << "standard input needs --format" << true;

    // 2: files.
    QTest::newRow("no data file") << "24C64" << none << ""
                                  << QStringList{"list", "--data", "{dir}none.ini"} << 2
                                  << "cannot read the parts file" << true;
    QTest::newRow("no input file") << "24C64" << none << "" << write << 2 << "cannot read" << true;
    QTest::newRow("input a named pipe") << "24C64" << none << "fifo" << write << 2
                                        << "cannot read {in}: it is not a regular file" << true;
    QTest::newRow("input a device")
        << "24C64" << none << ""
        << QStringList{"verify", "-d", "24C64", "-i", "/dev/zero", "--format", "bin"} + port << 2
        << "cannot read /dev/zero: it is not a regular file" << true;
    QTest::newRow("output of an unknown format")
        << "24C64" << none << "" << QStringList{"read", "-d", "24C64", "-o", "{dir}x.eep"} + port
        << 2 << "cannot tell the format of " << true;
    QTest::newRow("data file a named pipe")
        << "24C64" << none << "fifo" << QStringList{"list", "--data", "{in}"} << 2
        << "cannot read the parts file {in}: it is not a regular file" << true;
    QTest::newRow("data file without a usable part")
        << "24C64" << none << "no parts"
        << QStringList{"blank", "-d", "24C64", "--data", "{in}"} + port << 2
        << "the parts file {in} holds no part that can be used" << true;
    QTest::newRow("data beyond the part")
        << "24C02" << none << "big" << QStringList{"write", "-d", "24C02", "-i", "{in}"} + port << 2
        << "7936 bytes of {in} lie beyond the end of the 24C02 (from 0x00100" << true;
    QTest::newRow("bad checksum") << "24C64" << none << "bad checksum" << write << 2
                                  << "1 of its records have a wrong checksum" << true;
    QTest::newRow("no hex data") << "24C64" << none << "no records" << write << 2
                                 << "holds no data record" << true;
    QTest::newRow("overlapping records")
        << "24C64" << none << "overlap" << write << 2
        << "{in}: records write 16 bytes that earlier records wrote (the first at 0x00100); the "
           "later ones count; give --force"
        << true;
    QTest::newRow("a smaller part's image")
        << "24C64" << none << "small" << write << 2
        << "{in} is an image of 256 bytes, but the 24C64 holds 8192; it fits: 24C02, AT24C02, "
           "AT24C02A; give --force to write it all the same"
        << true;
    QTest::newRow("x16 dump for an I2C part")
        << "24C64" << none << "file" << write + QStringList{"--swap16"} << 1
        << "--swap16 is for the x16 dumps of Microwire (93Cxx) parts; the 24C64 is not one" << true;
    QTest::newRow("no backup folder")
        << "24C64" << none << "file" << write + QStringList{"--backup", "{dir}in.bin/saved"} << 2
        << "cannot save the part in {dir}in.bin/saved/24C64_" << false;
    QTest::newRow("no output folder")
        << "24C64" << none << ""
        << QStringList{"read", "-d", "24C64", "-o", "{dir}none/x.hex"} + port << 2
        << "there is no folder" << true;

    // 3: the port or the board.
    QTest::newRow("no device")
        << "24C64" << none << "" << QStringList{"detect", "-p", "/dev/ttyQZ9"} << 3
        << "cannot open /dev/ttyQZ9: No such file or directory. There is no such device" << true;
    QTest::newRow("nothing answers") << "24C64" << QStringList{"no-answer"} << "" << read << 3
                                     << "no QZ-PGM board answered on /dev/ttyQZ0 (nothing came "
                                        "back)"
                                     << false;
    QTest::newRow("another device") << "24C64" << QStringList{"wrong-id"} << "" << read << 3
                                    << "(the device answered \"" << false;
    QTest::newRow("old firmware") << "24C64" << QStringList{"5.10"} << "" << read << 3
                                  << "is \"QZ-PGM Ver 5.10\"; firmware 6.00 or later" << false;

    // 4: the transfer.
    QTest::newRow("read stops") << "24C64" << QStringList{"silence@3"} << "" << read << 4
                                << "read failed: the board stopped answering after 48 bytes"
                                << false;
    QTest::newRow("write stops") << "24C64" << QStringList{"silence@3"} << "file" << write << 4
                                 << "write failed: the board stopped answering after 48 bytes; "
                                    "the write got to address 0x0002F (0x00000..0x0002F were "
                                    "sent to the board)"
                                 << false;
    QTest::newRow("the read before a write stops")
        << "24C64" << QStringList{"silence@3"} << "file" << write + QStringList{"--changed-only"}
        << 4 << "read failed: the board stopped answering after 48 bytes; nothing was written"
        << false;
    QTest::newRow("bad ready byte")
        << "24C64" << QStringList{"wrong-ready@2"} << "file" << write << 4
        << "write failed: the board's answer broke the protocol" << false;

    // 5: differences.
    QTest::newRow("verify differs")
        << "24C64" << none << "file changed"
        << QStringList{"verify", "-d", "24C64", "-i", "{in}"} + port << 5
        << "verify failed: 1 of 8192 bytes differ; the first at 0x01234: file 0x" << false;
    QTest::newRow("not blank") << "24C64" << none << ""
                               << QStringList{"blank", "-d", "24C64"} + port << 5
                               << "of 8192 bytes are not 0xFF; the first at 0x00000 = 0x" << false;
}

// Every row runs twice, the second time with --json: standard output then holds JSON objects
// and nothing else, at least one, the worst of them with the exit code.
void CliTest::failuresEndWithTheirExitCode()
{
    QFETCH(QString, part);
    QFETCH(QStringList, faults);
    QFETCH(QString, file);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(bool, sendsNothing);

    for (const bool json : {false, true}) {
        failWith(part, faults, file, json ? arguments + QStringList{"--json"} : arguments, exitCode,
                 said, sendsNothing);
        if (QTest::currentTestFailed()) return;
    }
}

void CliTest::failWith(const QString& part, QStringList faults, const QString& file,
                       QStringList arguments, int exitCode, const QString& said, bool sendsNothing)
{
    CliFixture fixture;
    QString firmware = QStringLiteral("6.00");
    if (faults.contains(QStringLiteral("5.10"))) {
        firmware = QStringLiteral("5.10");
        faults.removeAll(QStringLiteral("5.10"));
    }
    EmulatedBoard& board = fixture.lines.add(kPort, part, faults, firmware);
    const qint64 size = board.part().size();
    const QByteArray contents = pattern(size, kFileSeed);
    board.setContents(contents);
    const bool hex = file == QLatin1String("bad checksum") || file == QLatin1String("no records") ||
                     file == QLatin1String("overlap");
    const QString in = fixture.path(hex ? QStringLiteral("in.hex") : QStringLiteral("in.bin"));
    if (file == QLatin1String("file")) writeFile(in, contents);
    if (file == QLatin1String("file changed")) {
        QByteArray changed = contents;
        changed[0x1234] = static_cast<char>(~changed.at(0x1234));
        writeFile(in, changed);
    }
    if (file == QLatin1String("big")) writeFile(in, pattern(8192, 1));
    if (file == QLatin1String("no records")) writeFile(in, "hello\r\n");
    if (file == QLatin1String("small")) writeFile(in, pattern(256, kFileSeed));
    if (file == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(in).constData(), 0600), 0);
    if (file == QLatin1String("no parts")) writeFile(in, "Ver 1.00\r\n24C64 = 2 99 32\r\n");
    if (file == QLatin1String("overlap")) {
        // The record of 0x0100 once more at the end.
        const QByteArray text = intelHexText(contents);
        const qsizetype record = text.indexOf(":10010000");
        writeFile(in, text.left(text.size() - 13) + text.mid(record, 45) + ":00000001FF\r\n");
    }
    if (file == QLatin1String("bad checksum")) {
        QByteArray text = intelHexText(contents);
        text[41] = text.at(41) == '0' ? '1' : '0';  // a data digit of the second record
        writeFile(in, text);
    }
    arguments = expand(arguments, fixture);
    arguments.replaceInStrings(QStringLiteral("{in}"), in);

    const CliRun run = fixture.run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QString expected = QString(said)
                                 .replace(QStringLiteral("{in}"), in)
                                 .replace(QStringLiteral("{dir}"), fixture.files.path() + '/');
    QVERIFY2(run.errors.contains(expected), qPrintable(run.errors));
    if (sendsNothing) QVERIFY2(board.fromPc().isEmpty(), board.fromPc().toHex(' ').constData());
    if (exitCode == 1) QVERIFY(run.errors.contains(QStringLiteral("vorle6-cli: ")));
    if (exitCode != 4 || !arguments.contains(QStringLiteral("write"))) {
        QCOMPARE(board.contents(), contents);
    }
    if (!arguments.contains(QStringLiteral("--json"))) return;
    int worst = -1;
    for (const QByteArray& line : run.output.split('\n')) {
        if (line.isEmpty()) continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        QVERIFY2(!object.isEmpty(), line.constData());
        QVERIFY(!object["outcome"].toString().isEmpty() && !object["message"].toString().isEmpty());
        worst = std::max(worst, object["exitCode"].toInt());
    }
    QCOMPARE(worst, exitCode);
}

void CliTest::helpIsTheCommands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("shows");
    QTest::addColumn<QStringList>("leavesOut");

    QTest::newRow("write") << QStringList{"write", "--help"}
                           << QStringList{"vorle6-cli write", "--no-verify", "Files: .hex", "-v, "}
                           << QStringList{"vorle6-cli read", "--search", "--csv", "--station"};
    QTest::newRow("read, -h after a bad option")
        << QStringList{"read", "--bogus", "-h"} << QStringList{"vorle6-cli read", "--output"}
        << QStringList{"--truncate", "vorle6-cli write"};
    QTest::newRow("run") << QStringList{"run", "-qh"}
                         << QStringList{"vorle6-cli run", "--station", "--port", "--db"}
                         << QStringList{"--swap16", "vorle6-cli job"};
    QTest::newRow("job new") << QStringList{"job", "new", "--help"}
                             << QStringList{"vorle6-cli job new", "--serial"}
                             << QStringList{"vorle6-cli job check", "--since", "--output"};
    QTest::newRow("log") << QStringList{"log", "--help"} << QStringList{"--since", "--csv, --json"}
                         << QStringList{"--serial", "one JSON object per board"};
    QTest::newRow("the program") << QStringList{"--help"}
                                 << QStringList{"vorle6-cli erase", "vorle6-cli run"}
                                 << QStringList{};
}

void CliTest::helpIsTheCommands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, shows);
    QFETCH(QStringList, leavesOut);
    CliFixture fixture;
    const CliRun run = fixture.run(arguments);
    QCOMPARE(run.exitCode, 0);
    for (const QString& text : shows) QVERIFY2(run.outputText().contains(text), qPrintable(text));
    for (const QString& text : leavesOut) {
        QVERIFY2(!run.outputText().contains(text), qPrintable(text));
    }
}

void CliTest::verboseShowsTheLine()
{
    CliFixture fixture;
    fixture.lines.add(kPort, QStringLiteral("24C02"));
    const QStringList detect{"detect", "-p", kPort};
    // One thread: the board's lines and the program's share the buffer.
    const auto mode = ParallelRunner::Mode::OneAfterAnother;
    CliRun run = fixture.run(detect + QStringList{"-qv"}, mode);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.contains("vorle.link: PC > 3F\n") &&
                 run.errors.contains("vorle.link: board < 51 5A 2D 50 47 4D"),
             qPrintable(run.errors));
    run = fixture.run(detect, mode);
    QVERIFY2(!run.errors.contains("vorle.link"), qPrintable(run.errors));
}

void CliTest::rangesTouchOnlyTheirBytes()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C64"));
    const QByteArray before = pattern(8192, kOtherSeed);
    const QByteArray file = pattern(8192, kFileSeed);
    board.setContents(before);
    writeFile(fixture.path("image.bin"), file);

    CliRun run = fixture.run({"write", "-d", "24C64", "-p", kPort, "-i", fixture.path("image.bin"),
                              "--offset", "0x100", "--length", "0x40"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QByteArray expected = before;
    expected.replace(0x100, 0x40, file.mid(0x100, 0x40));
    QCOMPARE(board.contents(), expected);

    run = fixture.run({"read", "-d", "24C64", "-p", kPort, "-o", fixture.path("part.bin"),
                       "--access-size", "0x120"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.contains("only 0x00000..0x0011F is read; the file holds the whole 24C64"),
             qPrintable(run.errors));
    QCOMPARE(readFile(fixture.path("part.bin")), expected.left(0x120) + blank(8192 - 0x120));

    run = fixture.run(
        {"erase", "-d", "24C64", "-p", kPort, "--offset", "0x200", "--length", "0x100"});
    QCOMPARE(run.exitCode, 0);
    expected.replace(0x200, 0x100, blank(0x100));
    QCOMPARE(board.contents(), expected);
    run = fixture.run(
        {"blank", "-d", "24C64", "-p", kPort, "--offset", "0x200", "--length", "0x100"});
    QCOMPARE(run.exitCode, 0);
    run =
        fixture.run({"blank", "-d", "24C64", "-p", kPort, "--offset", "0x1F0", "--length", "0x20"});
    QCOMPARE(run.exitCode, 5);
    QVERIFY2(run.errors.contains("of 32 bytes are not 0xFF; the first at 0x001F0"),
             qPrintable(run.errors));
}

void CliTest::standardStreamsCarryTheImage()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C02"));
    const QByteArray file = pattern(256, kFileSeed);

    CliRun run = fixture.run({"write", "-d", "24C02", "-p", kPort, "-i", "-", "--format", "hex"},
                             ParallelRunner::Mode::ThreadPerBoard, intelHexText(file));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(board.contents(), file);

    run = fixture.run({"read", "-d", "24C02", "-p", kPort, "-o", "-", "--format", "bin"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, file);
    // The summary goes to standard error, which the image leaves free.
    QVERIFY2(run.errors.contains("24C02 read OK: read 256 bytes"), qPrintable(run.errors));
}

void CliTest::shortAndLongFiles()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C02"));
    board.setContents(pattern(256, kOtherSeed));

    // A page short: the rest is blank.
    writeFile(fixture.path("short.bin"), pattern(248, kFileSeed));
    CliRun run =
        fixture.run({"write", "-d", "24C02", "-p", kPort, "-i", fixture.path("short.bin")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.contains("holds 248 bytes, fewer than the 256 up to 0x000FF: the rest is "
                                 "taken as 0xFF"),
             qPrintable(run.errors));
    QCOMPARE(board.contents(), pattern(248, kFileSeed) + blank(8));

    // Shorter still: most likely another part's image, written only when asked for.
    writeFile(fixture.path("shorter.bin"), pattern(100, kFileSeed));
    run = fixture.run({"write", "-d", "24C02", "-p", kPort, "-i", fixture.path("shorter.bin")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errors.contains("is an image of 100 bytes, but the 24C02 holds 256; no part of "
                                 "the data file has that size; give --force"),
             qPrintable(run.errors));
    run = fixture.run(
        {"write", "-d", "24C02", "-p", kPort, "-i", fixture.path("shorter.bin"), "--force"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(board.contents(), pattern(100, kFileSeed) + blank(156));
    // A verify only says so.
    run = fixture.run({"verify", "-d", "24C02", "-p", kPort, "-i", fixture.path("shorter.bin")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.contains("is an image of 100 bytes"), qPrintable(run.errors));

    writeFile(fixture.path("long.bin"), pattern(300, kFileSeed));
    run = fixture.run(
        {"write", "-d", "24C02", "-p", kPort, "-i", fixture.path("long.bin"), "--truncate", "-q"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
    QVERIFY(run.output.isEmpty());
    QCOMPARE(board.contents(), pattern(256, kFileSeed));
}

// A Microwire part read as x16 words: --swap16 reads it into a file of swapped pairs, and
// writes and verifies such a file back as the part's bytes.
void CliTest::x16DumpsRoundTrip()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("AT93C46"));
    const QByteArray chip = pattern(128, kFileSeed);
    board.setContents(chip);
    const QString dump = fixture.path("x16.bin");
    CliRun run = fixture.run({"read", "-d", "AT93C46", "-p", kPort, "-o", dump, "--swap16"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QByteArray swapped = chip;
    swapBytePairs(swapped);
    QCOMPARE(readFile(dump), swapped);

    board.setContents(blank(128));
    run = fixture.run({"write", "-d", "AT93C46", "-p", kPort, "-i", dump, "--swap16"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(board.contents(), chip);
    run = fixture.run({"verify", "-d", "AT93C46", "-p", kPort, "-i", dump, "--swap16"});
    QCOMPARE(run.exitCode, 0);
    run = fixture.run({"verify", "-d", "AT93C46", "-p", kPort, "-i", dump});
    QCOMPARE(run.exitCode, 5);

    // Intel HEX through standard output, the same way.
    run = fixture.run(
        {"read", "-d", "AT93C46", "-p", kPort, "-o", "-", "--format", "hex", "--swap16"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, intelHexText(swapped));
}

void CliTest::hexAboveSixtyFourKiB()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C1024"));
    board.setContents(pattern(131072, kOtherSeed));
    const CliRun run =
        fixture.run({"read", "-d", "24C1024", "-p", kPort, "-o", fixture.path("big.hex")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(imageOf(fixture.path("big.hex"), 131072), board.contents());
}

void CliTest::severalBoardsRunAtOnce()
{
    CliFixture fixture;
    const QStringList ports{"/dev/ttyQZ0", "/dev/ttyQZ1", "/dev/ttyQZ2"};
    const QByteArray file = pattern(8192, kFileSeed);
    QList<EmulatedBoard*> boards;
    for (const QString& port : ports) {
        const QStringList faults = port.endsWith('1') ? QStringList{"silence@5"} : QStringList{};
        boards.append(&fixture.lines.add(port, QStringLiteral("24C64"), faults));
        boards.last()->setContents(blank(8192));
    }
    writeFile(fixture.path("image.hex"), intelHexText(file));

    CliRun run = fixture.run({"write", "-d", "24C64", "-i", fixture.path("image.hex"), "-p",
                              ports[0], "-p", ports[1], "-p", ports[2]});
    QCOMPARE(run.exitCode, 4);
    QCOMPARE(boards[0]->contents(), file);
    QCOMPARE(boards[2]->contents(), file);
    const QStringList lines = run.outputText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith("/dev/ttyQZ0: 24C64 write OK"));
    QVERIFY(lines[1].startsWith("/dev/ttyQZ2: 24C64 write OK"));
    QVERIFY2(run.errors.contains("/dev/ttyQZ1: 24C64 write FAILED (exit 4): write failed"),
             qPrintable(run.errors));

    // One board differs, one stops: the worst exit code, one JSON object per board in order.
    boards[2]->setContents(pattern(8192, kOtherSeed));
    run = fixture.run({"verify", "-d", "24C64", "-i", fixture.path("image.hex"), "--json", "-p",
                       ports[0], "-p", ports[1], "-p", ports[2]});
    QCOMPARE(run.exitCode, 5);
    const QList<QJsonObject> objects = jsonLines(run.output);
    QCOMPARE(objects.size(), 3);
    QCOMPARE(objects[0]["outcome"].toString(), QStringLiteral("done"));
    QCOMPARE(objects[1]["outcome"].toString(), QStringLiteral("timed-out"));
    QCOMPARE(objects[1]["exitCode"].toInt(), 4);
    QCOMPARE(objects[2]["outcome"].toString(), QStringLiteral("mismatch"));
    QCOMPARE(objects[2]["port"].toString(), ports[2]);
    QCOMPARE(objects[2]["part"].toString(), QStringLiteral("24C64"));
    QCOMPARE(objects[2]["bytes"].toInt(), 8192);
    QCOMPARE(objects[2]["firstMismatch"]["address"].toInt(), 0);
    QCOMPARE(objects[2]["firstMismatch"]["expected"].toInt(), static_cast<quint8>(file.at(0)));
    QVERIFY(objects[2]["seconds"].toDouble() > 1.0);
}

void CliTest::interruptStopsAtTheNextChunk()
{
    CliFixture fixture;
    EmulatedBoard& first = fixture.lines.add(kPort, QStringLiteral("24C64"));
    EmulatedBoard& second =
        fixture.lines.add(QStringLiteral("/dev/ttyQZ1"), QStringLiteral("24C64"));
    first.setContents(blank(8192));
    const QByteArray file = pattern(8192, kFileSeed);
    writeFile(fixture.path("image.bin"), file);

    // One board after the other on this thread, so the interrupt lands at a known moment.
    const CliRun run = fixture.run(
        {"write", "-d", "24C64", "-i", fixture.path("image.bin"), "-p", kPort, "-p", "/dev/ttyQZ1"},
        ParallelRunner::Mode::OneAfterAnother, {}, [&](CliProgram& program) {
            fixture.lines.clock(kPort).after(400ms, [&program] { program.interrupt(); });
        });
    QCOMPARE(run.exitCode, 130);
    QVERIFY2(run.errors.contains("interrupted: stopping at the next block"),
             qPrintable(run.errors));
    static const QRegularExpression stopped(
        "/dev/ttyQZ0: 24C64 write FAILED \\(exit 130\\): interrupted during the write after "
        "(\\d+) bytes; the write got to address 0x([0-9A-F]{5}) \\(0x00000\\.\\.");
    const QRegularExpressionMatch match = stopped.match(run.errors);
    QVERIFY2(match.hasMatch(), qPrintable(run.errors));
    const qint64 sent = match.captured(1).toLongLong();
    QVERIFY(sent > 0 && sent < 8192 && sent % 16 == 0);
    QCOMPARE(match.captured(2).toLongLong(nullptr, 16), sent - 1);
    QVERIFY2(run.errors.contains(QStringLiteral("the board still expects %1 bytes of that write: "
                                                "switch it off and on")
                                     .arg(8192 - sent)),
             qPrintable(run.errors));
    // What was sent, and nothing after it.
    QCOMPARE(first.contents().left(sent - 16), file.left(sent - 16));
    QCOMPARE(first.contents().mid(sent), blank(8192 - sent));
    QVERIFY2(run.errors.contains("/dev/ttyQZ1: 24C64 write FAILED (exit 130): interrupted before "
                                 "anything was sent"),
             qPrintable(run.errors));
    QVERIFY(second.fromPc().isEmpty());
}

// Ctrl+C while the image file was read: the signal waits in the event queue, and no board may
// hear a byte once it is there.
void CliTest::interruptWhileTheFileIsReadSendsNothing()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C64"));
    writeFile(fixture.path("image.bin"), pattern(8192, kFileSeed));
    const CliRun run = fixture.run(
        {"write", "-d", "24C64", "-i", fixture.path("image.bin"), "-p", kPort, "--json"},
        ParallelRunner::Mode::OneAfterAnother, {}, [](CliProgram& program) {
            QMetaObject::invokeMethod(&program, &CliProgram::interrupt, Qt::QueuedConnection);
        });
    QCOMPARE(run.exitCode, 130);
    QVERIFY2(run.errors.contains("interrupted before anything was sent"), qPrintable(run.errors));
    QCOMPARE(QJsonDocument::fromJson(run.output).object()["outcome"].toString(), "interrupted");
    QVERIFY(board.fromPc().isEmpty());
}

void CliTest::aClaimedPortIsRefused()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C02"));
    PortClaim other(fixture.claims.path(), kPort);
    QVERIFY(other.acquire());
    const CliRun run = fixture.run({"blank", "-d", "24C02", "-p", kPort, "--json"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errors.contains("/dev/ttyQZ0 is in use by tst_cli (process "),
             qPrintable(run.errors));
    QCOMPARE(jsonLines(run.output).value(0)["outcome"].toString(), QStringLiteral("port-in-use"));
    QVERIFY(board.fromPc().isEmpty());
}

void CliTest::thePortIsTheWindowsUnlessGiven()
{
    CliFixture fixture;
    fixture.lines.add(kPort, QStringLiteral("24C02"));
    SettingsStore settings;
    settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, "2");
    settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(3), kPort);
    CliRun run = fixture.run({"detect"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.outputText(), QStringLiteral("QZ-PGM Ver 6.00 on /dev/ttyQZ0\n"));
    run = fixture.run({"detect", "-p", "COM3", "--rts", "off"});
    QCOMPARE(run.exitCode, 0);

    CliOptions options;
    options.ports = QStringList{"3", "com1", "ttyS0", "/dev/ttyACM0"};
    options.dtr = true;
    const PortChoice choice = choosePorts(options, settings);
    QVERIFY2(choice.error.isEmpty(), qPrintable(choice.error));
    QCOMPARE(choice.links.size(), 4);
    QCOMPARE(choice.links[0].devicePath, kPort);
    QCOMPARE(choice.links[0].portNumber, 3);
    QCOMPARE(choice.links[1].devicePath, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(choice.links[2].devicePath, QStringLiteral("/dev/ttyS0"));
    QCOMPARE(choice.links[3].portNumber, 0);
    QVERIFY(choice.links[3].dtr && choice.links[3].rts);
    QCOMPARE(portShortName(choice.links[3]), QStringLiteral("ttyACM0"));
}

void CliTest::searchAsksEveryDevice()
{
    CliFixture fixture(true);
    fixture.lines.add(QStringLiteral("/dev/ttyQZ0"), QStringLiteral("24C02"), {"no-answer"});
    fixture.lines.add(QStringLiteral("/dev/ttyQZ2"), QStringLiteral("24C02"));
    EmulatedBoard& board =
        fixture.lines.add(QStringLiteral("/dev/ttyQZ3"), QStringLiteral("24C02"));
    ScriptedSerialDevices devices;
    devices.add("/dev/ttyQZ0").add("/dev/ttyQZ1").add("/dev/ttyQZ2").add("/dev/ttyQZ3");
    // Another program holds ttyQZ2, by a lock file of this process's number.
    QTemporaryDir locks;
    writeFile(locks.filePath("LCK..ttyQZ2"),
              QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    PortHolders holders;
    holders.setLockFolders({locks.path()});
    holders.setAliasFolders({});
    fixture.devices = &devices;
    fixture.holders = &holders;

    CliRun run = fixture.run({"detect", "--search"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(run.outputText(), QStringLiteral("QZ-PGM Ver 6.00 on /dev/ttyQZ3\n"));
    QVERIFY2(run.errors.contains("/dev/ttyQZ0: no board (0 bytes came back)\n"),
             qPrintable(run.errors));
    QVERIFY2(run.errors.contains("/dev/ttyQZ1: cannot be opened\n"), qPrintable(run.errors));
    QVERIFY2(run.errors.contains("/dev/ttyQZ2: not asked, tst_cli (PID"), qPrintable(run.errors));
    QVERIFY(!board.fromPc().isEmpty());

    devices.devices.removeLast();
    run = fixture.run({"detect", "--search", "--json"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errors.contains("no QZ-PGM board answered on any of the 3 serial devices"),
             qPrintable(run.errors));
    QCOMPARE(jsonLines(run.output).value(0)["outcome"].toString(), QStringLiteral("no-board"));
    QCOMPARE(fixture.run({"detect", "--search", "-p", "1"}).exitCode, 1);
}

void CliTest::partsAndPortProblems()
{
    const CatalogueLoad load = loadCatalogue(QStringLiteral(VORLE_DATA_FILE));
    const PartLookup lookup(load.catalogue);
    QCOMPARE(lookup.indexOf("at24c1024"), load.catalogue.indexOf("AT24C1024"));
    QCOMPARE(lookup.closestNames("93C66").value(0), QStringLiteral("AT93C66"));
    QCOMPARE(lookup.closestNames("24C65").value(0), QStringLiteral("24C64"));
    QCOMPARE(lookup.closestNames("x").size(), PartLookup::kSuggestions);

    PortOpenFailure failure;
    failure.kind = PortOpenFailure::Kind::PermissionDenied;
    failure.devicePath = QStringLiteral("/dev/ttyUSB0");
    failure.systemReason = QStringLiteral("Permission denied");
    failure.deviceGroup = QStringLiteral("uucp");
    QCOMPARE(portProblemText(failure, {}),
             QStringLiteral("cannot open /dev/ttyUSB0: Permission denied. You may not use this "
                            "device: join its group \"uucp\" (sudo usermod -aG uucp $USER), then "
                            "log in again"));
    failure.userName = QStringLiteral("operator");
    failure.memberNotYetActive = true;
    QVERIFY(
        portProblemText(failure, {})
            .endsWith(
                "operator is in the device's group \"uucp\" already, but not in this login: log in "
                "again"));
    failure.kind = PortOpenFailure::Kind::InUse;
    QVERIFY(portProblemText(failure, {})
                .endsWith("Another program has the port open (the vorle6 window, another "
                          "vorle6-cli or a terminal "
                          "program); a port is never shared"));
    QVERIFY(portProblemText(failure, {}, "minicom (PID 42)")
                .endsWith(". minicom (PID 42) has the port open; a port is never shared"));
}

void CliTest::progressLinesAndBar()
{
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    ProgressReport lines(errors, ProgressReport::Style::Lines, {"ttyQZ0", "ttyQZ1"});
    for (qint64 done = 16; done <= 256; done += 16) {
        lines.update(0, static_cast<int>(ChipStep::Write), done, 256);
    }
    lines.update(1, static_cast<int>(ChipStep::Verify), 256, 256);
    const QStringList written = QString::fromUtf8(errors.data()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(written.size(), 11);
    QCOMPARE(written.first(), QStringLiteral("ttyQZ0: write 10 % (32 of 256 bytes)"));
    QCOMPARE(written.last(), QStringLiteral("ttyQZ1: verify 100 % (256 of 256 bytes)"));

    QCOMPARE(ProgressReport::barLine("read", 2048, 8192, 1638.4, 4.5),
             QStringLiteral("read [######..................]  25 %  2048/8192 bytes  1.6 KiB/s  "
                            "0:05 left"));
}

void CliTest::repeatedReadsNameAnUnreliableContact_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");  // on standard error

    const QStringList port{"-p", kPort};
    QTest::newRow("read twice") << QStringList{"read",      "-d",      "24C64", "-o",
                                               "{out}.bin", "--reads", "2"} +
                                       port
                                << 4
                                << "24C64 read FAILED (exit 4): the 2 reads differ at 1 address, "
                                   "without a majority (0x00020: {flipped} {byte}): the contact "
                                   "is unreliable; check the clip, the socket or the wires; no "
                                   "file was written";
    QTest::newRow("read three times")
        << QStringList{"read", "-d", "24C64", "-o", "{out}.bin", "--reads", "3"} + port << 0
        << "the 3 reads differ at 1 address, decided by a majority (0x00020: {flipped} {byte} "
           "{byte}): the contact is unreliable";
    QTest::newRow("verify twice") << QStringList{"verify",    "-d",      "24C64", "-i",
                                                 "{out}.bin", "--reads", "2",     "--json"} +
                                         port
                                  << 4 << "the 2 reads differ at 1 address";
}

// The first read meets a bit flipped on the line (chunk 3 begins at 0x20); the reads after it
// do not.
void CliTest::repeatedReadsNameAnUnreliableContact()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);

    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C64"), {"flipread@3"});
    const QByteArray contents = pattern(8192, kFileSeed);
    board.setContents(contents);
    fixture.lines.clock(kPort).after(500ms, [&] { board.setFaults({}); });
    const QString file = fixture.path(QStringLiteral("out.bin"));
    if (arguments.first() == QLatin1String("verify")) writeFile(file, contents);

    const CliRun run = fixture.run(expand(arguments, fixture));
    QCOMPARE(run.exitCode, exitCode);
    const auto byte = static_cast<quint8>(contents.at(0x20));
    const QString expected = QString(said)
                                 .replace(QStringLiteral("{byte}"), hexText(byte, 2))
                                 .replace(QStringLiteral("{flipped}"), hexText(byte ^ 1, 2));
    QVERIFY2(run.errors.contains(expected), qPrintable(run.errors));
    if (arguments.first() == QLatin1String("read")) {
        QCOMPARE(QFile::exists(file), exitCode == 0);
        if (exitCode == 0) QCOMPARE(readFile(file), contents);
        return;
    }
    const QJsonObject json = jsonLines(run.output).first();
    QCOMPARE(json["outcome"].toString(), QStringLiteral("reads-differ"));
    QCOMPARE(json["readsDiffer"]["addresses"].toInt(), 1);
    QCOMPARE(json["readsDiffer"]["first"][0]["address"].toInt(), 0x20);
    QVERIFY(json["readsDiffer"]["first"][0]["majority"].isNull());
}

// The part is saved before a write, byte for byte; the write sends the one changed block, and
// a second write of the same file sends nothing.
void CliTest::aBackupAndTheChangedChunksOnly()
{
    CliFixture fixture;
    EmulatedBoard& board = fixture.lines.add(kPort, QStringLiteral("24C64"));
    const QByteArray before = pattern(8192, kOtherSeed);
    board.setContents(before);
    QByteArray image = before;
    image[0x1234] = static_cast<char>(~image.at(0x1234));
    writeFile(fixture.path("image.bin"), image);
    const QString folder = fixture.path(QStringLiteral("backups"));
    const QStringList write{"write", "-d",  "24C64",          "-i",       fixture.path("image.bin"),
                            "-p",    kPort, "--changed-only", "--backup", folder};

    CliRun run = fixture.run(write);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QVERIFY2(run.outputText().contains(QStringLiteral(
                 "wrote 16 bytes in 1 range of changed blocks and verified the whole range in")),
             qPrintable(run.outputText()));
    const QStringList saved = QDir(folder).entryList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    QVERIFY(saved.first().startsWith(QStringLiteral("24C64_")));
    QVERIFY(saved.first().endsWith(QStringLiteral("_ttyQZ0.bin")));
    QCOMPARE(readFile(QDir(folder).filePath(saved.first())), before);
    QVERIFY2(run.errors.contains(QStringLiteral("the part was saved in %1 before the write")
                                     .arg(QDir(folder).filePath(saved.first()))),
             qPrintable(run.errors));
    fixture.lines.clock(kPort).advance(1s);
    QCOMPARE(board.contents(), image);

    const qsizetype sentBefore = board.fromPc().size();
    run = fixture.run(write.mid(0, 8) + QStringList{"--json"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!board.fromPc().mid(sentBefore).contains("Ee2w"));
    const QJsonObject json = jsonLines(run.output).first();
    QCOMPARE(json["unchanged"].toBool(), true);
    QCOMPARE(json["bytesWritten"].toInt(), 0);
    QCOMPARE(json["writeAccesses"].toInt(), 0);
    QVERIFY(json["backup"].isNull());
    QVERIFY(json["message"].toString().startsWith(
        QStringLiteral("the chip holds the image already: nothing was written")));
}

void CliTest::checksumsAreTheToolsOwn_data()
{
    QTest::addColumn<QStringList>("arguments");

    const QStringList port{"-p", kPort};
    QTest::newRow("read") << QStringList{"read", "-d", "24C02", "-o", "{out}.bin"} + port;
    QTest::newRow("write") << QStringList{"write", "-d", "24C02", "-i", "{out}.hex"} + port;
    QTest::newRow("verify") << QStringList{"verify", "-d", "24C02", "-i", "{out}.hex"} + port;
}

// The bytes 0x00 to 0xFF: gzip's trailer (and crc32) gives CRC-32 29058c73, sha256sum gives
// 40aff2e9..., the window's sum is 7F80.
void CliTest::checksumsAreTheToolsOwn()
{
    QFETCH(QStringList, arguments);

    QByteArray ramp(256, '\0');
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<char>(i);
    const QString sha256 =
        QStringLiteral("40aff2e9d2d8922e47afd4648e6967497158785fbd1da870e7110266bf944880");
    CliFixture fixture;
    fixture.lines.add(kPort, QStringLiteral("24C02")).setContents(ramp);
    writeFile(fixture.path("out.hex"), intelHexText(ramp));

    CliRun run = fixture.run(expand(arguments, fixture));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QVERIFY2(run.outputText().contains(
                 QStringLiteral("; CRC-32 29058c73, SHA-256 %1, sum 7F80\n").arg(sha256)),
             qPrintable(run.outputText()));
    run = fixture.run(expand(arguments, fixture) + QStringList{"--json"});
    const QJsonObject json = jsonLines(run.output).first();
    QCOMPARE(json["crc32"].toString(), QStringLiteral("29058c73"));
    QCOMPARE(json["sha256"].toString(), sha256);
    QCOMPARE(json["sum16"].toString(), QStringLiteral("7F80"));
}

void CliTest::allBlankIsANoticeNotAnError_data()
{
    QTest::addColumn<QStringList>("arguments");

    const QStringList port{"-p", kPort};
    QTest::newRow("read") << QStringList{"read", "-d", "24C64", "-o", "{out}.bin"} + port;
    QTest::newRow("blank") << QStringList{"blank", "-d", "24C64"} + port;
    QTest::newRow("erase") << QStringList{"erase", "-d", "24C64"} + port;
    QTest::newRow("verify") << QStringList{"verify", "-d", "24C64", "-i", "{out}.hex"} + port;
}

// An empty socket reads like a blank part, so whatever the command, all 0xFF is said aloud.
void CliTest::allBlankIsANoticeNotAnError()
{
    QFETCH(QStringList, arguments);

    CliFixture fixture;
    fixture.lines.add(kPort, QStringLiteral("24C64"), {"nochip"});
    writeFile(fixture.path("out.hex"), intelHexText(blank(8192)));
    CliRun run = fixture.run(expand(arguments, fixture));
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.contains(QStringLiteral(
                 "/dev/ttyQZ0: the chip reads as nothing but 0xFF: a blank part, an empty socket "
                 "and a chip inserted the wrong way round all read so")),
             qPrintable(run.errors));
    run = fixture.run(expand(arguments, fixture) + QStringList{"--json"});
    QCOMPARE(jsonLines(run.output).first()["allBlank"].toBool(), true);
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
