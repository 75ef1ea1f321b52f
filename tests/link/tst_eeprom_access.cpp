// Block and byte reads and writes on a scripted board in fake time: every byte on the line,
// the progress figures, the status texts and what the image holds afterwards.
#include "link/AccessPackets.h"
#include "link/LinkFixture.h"
#include "link/PortClaim.h"
#include "link/TransferPlan.h"
#include "link/gui/AccessTimeEstimate.h"

#include <QFile>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kReadFinished = QStringLiteral("読み出し終了。 (0sec)");
const QString kWriteFinished = QStringLiteral("書き込み終了。 (0sec)");

// The end packet's step answers with the first chunk; each "@" with the next one.
void serveRead(FakeBoard& board, const QByteArray& endPacket, const QByteArray& data, int chunk)
{
    board.expect(endPacket).reply(data.mid(0, chunk));
    for (int at = chunk; at < data.size(); at += chunk)
        board.expect("@").reply(data.mid(at, chunk));
    board.expect("@");
}

// The end packet's step answers "@"; each chunk is expected and answered by "@" once it is
// programmed.
void serveWrite(FakeBoard& board, const QByteArray& endPacket, const QByteArray& data, int chunk)
{
    board.expect(endPacket).reply("@");
    for (int at = 0; at < data.size(); at += chunk) board.expect(data.mid(at, chunk)).reply("@");
}

QByteArray imageOf(const LinkFixture& f) { return f.state.image.bytes(); }

// The address packet of an I2C block access in chunks of 16 bytes.
QByteArray packet(qint64 address)
{
    return Build_Address_Packet(16, static_cast<std::int32_t>(address), BusFamily::I2c, 0);
}

}  // namespace

class EepromAccessTest : public QObject {
    Q_OBJECT

private slots:
    void blockReadOfAnI2cPart()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 64);
        f.state.loadedFileBytes = 512;
        f.window.size = 256;
        const QByteArray data = rampBytes(0x30, 256);
        f.expectOpening('2', 'R').expect(hexBytes("10000000"));
        serveRead(f.board, hexBytes("100000FF"), data, 16);

        f.access.Cmd_READ_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(imageOf(f), data);
        QCOMPARE(f.state.loadedFileBytes, 0);  // the image is no longer the file's
        QCOMPARE(f.frame.accessMode(), AccessMode::Block);
        QCOMPARE(f.window.showImageCount, 1);
        QCOMPARE(f.panels.text(1), kReadFinished);
        QCOMPARE(f.panels.textsOf(1).mid(0, 2),
                 (QStringList{QString(), QStringLiteral("読み出し中.....")}));
        QCOMPARE(f.panels.textsOf(3),
                 (QStringList{"6%", "12%", "19%", "25%", "31%", "38%", "44%", "50%", "56%", "62%",
                              "69%", "75%", "81%", "88%", "94%", "100%"}));
        QCOMPARE(f.clock.pauses,
                 (QList<std::chrono::milliseconds>{50ms, 10ms, 10ms, 10ms, 10ms, 10ms}));
        QVERIFY(!f.port.isOpen());
        QVERIFY(f.window.enabled());
        QVERIFY(f.window.imageCommandsEnabled);
        // The progress bar follows panel 3 while the access runs, and goes away after it.
        QCOMPARE(f.window.accessRunning, (QList<bool>{true, false}));
        QCOMPARE(f.window.progress.first(), 0);
        QCOMPARE(f.window.progress.last(), 100);
    }

    // A read shorter than the part leaves the rest blank; chunks of one byte cover every address.
    void blockReadsOfOtherShapes_data()
    {
        QTest::addColumn<int>("sizeExponent");
        QTest::addColumn<int>("chunk");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("firstPacket");
        QTest::addColumn<QByteArray>("endPacket");
        QTest::newRow("64 of 256 bytes")
            << 8 << 16 << 64 << hexBytes("10000000") << hexBytes("1000003F");
        QTest::newRow("chunks of one byte")
            << 4 << 1 << 16 << hexBytes("01000000") << hexBytes("0100000F");
    }
    void blockReadsOfOtherShapes()
    {
        QFETCH(int, sizeExponent);
        QFETCH(int, chunk);
        QFETCH(int, size);
        QFETCH(QByteArray, firstPacket);
        QFETCH(QByteArray, endPacket);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, sizeExponent, chunk);
        const qint64 partSize = f.state.image.size();
        for (qint64 a = 0; a < partSize; ++a) f.state.image.set(a, 0x00);
        f.window.size = size;
        const QByteArray data = rampBytes(0xA0, size);
        f.expectOpening('2', 'R').expect(firstPacket);
        serveRead(f.board, endPacket, data, chunk);

        f.access.Cmd_READ_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(imageOf(f), data + QByteArray(partSize - size, '\xFF'));
    }

    // Bytes beyond a chunk are line noise, and which of them are the data cannot be told: the
    // read fails and the image keeps what it held. Nothing more is asked of the board.
    void noiseBeyondAChunkFailsTheRead()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 16);
        const QByteArray before = imageOf(f);
        f.window.size = 64;
        f.expectOpening('2', 'R').expect(hexBytes("10000000"));
        f.board.expect(hexBytes("1000003F")).reply(rampBytes(1, 16));
        f.board.expect("@").reply(QByteArray("xyz") + rampBytes(17, 16));

        const AccessOutcome outcome = f.access.Cmd_READ_all_Click().access;

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(outcome.kind, AccessOutcome::Kind::BadReply);
        QCOMPARE(f.panels.text(1), QStringLiteral("読み出し中.....  リードエラー"));
        QCOMPARE(imageOf(f), before);
        QVERIFY(!f.port.written.endsWith("@@"));
        QVERIFY(!f.port.isOpen());
    }

    void byteReadOfAMicrowirePart()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::Microwire, 7, 1, 0, 6);
        f.window.cell = (3 - 1) * 16 + (5 - 1);
        f.expectOpening('3', 'R')
            .expect(hexBytes("01060024"))
            .expect(hexBytes("01060024"))
            .reply("\x5A")
            .expect("@");

        f.access.Cmd_READ_single_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.frame.accessMode(), AccessMode::Byte);
        QCOMPARE(f.state.image.at(0x24), 0x5A);
        QCOMPARE(f.state.image.at(0x23), 0xFF);
        QCOMPARE(f.window.readBytes, QList<std::uint8_t>{0x5A});
        QCOMPARE(f.window.showImageCount, 0);
        QCOMPARE(f.panels.text(1), kReadFinished);
        // No "reading" text before a byte read.
        QVERIFY(!f.panels.textsOf(1).contains(QStringLiteral("読み出し中.....")));
        QCOMPARE(f.panels.textsOf(3), QStringList{"100%"});
    }

    void blockWriteWithLowerCaseCommands()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 8, 2);
        const QByteArray data = rampBytes(0x80, 256);
        for (int a = 0; a < 256; ++a) f.state.image.set(a, static_cast<std::uint8_t>(data[a]));
        f.window.size = 32;
        f.expectOpening('2', 'w').expect(hexBytes("08000000"));
        serveWrite(f.board, hexBytes("0800001F"), data.left(32), 8);

        f.access.Cmd_WRITE_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), kWriteFinished);
        QCOMPARE(f.panels.textsOf(3), (QStringList{"25%", "50%", "75%", "100%"}));
        QCOMPARE(imageOf(f), data);
        QCOMPARE(f.window.showImageCount, 0);
        QVERIFY(!f.port.isOpen());
        QVERIFY(f.window.enabled());
    }

    void theImageAWriteSendsCannotChangeUnderIt()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 5, 16);
        f.window.size = 32;
        const QByteArray original = imageOf(f);
        f.expectOpening('2', 'W').expect(hexBytes("10000000"));
        f.board.expect(hexBytes("1000001F")).reply("@");
        f.board.expect(original.left(16)).reply("@").then([&](const QByteArray&) {
            f.state.image.set(20, 0x00);
        });
        f.board.expect(original.mid(16, 16));
        f.access.Cmd_WRITE_all_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
    }

    // Only "@" first is ready; a block write that is refused has written nothing, nor has a
    // byte write.
    void readyAnswers_data()
    {
        QTest::addColumn<bool>("single");
        QTest::addColumn<QByteArray>("ready");
        QTest::addColumn<QString>("text");
        const QString nothing = QStringLiteral("ライトエラー (チップには何も書き込んでいません)");
        QTest::newRow("@ and more") << false << QByteArray("@xyz") << kWriteFinished;
        QTest::newRow("another byte first")
            << false << QByteArray("!@") << QStringLiteral("書き込み中..... ") + nothing;
        QTest::newRow("a byte write, another byte")
            << true << QByteArray("?") << QStringLiteral(" ") + nothing;
    }
    void readyAnswers()
    {
        QFETCH(bool, single);
        QFETCH(QByteArray, ready);
        QFETCH(QString, text);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 4, 16);
        f.window.size = 16;
        f.window.cell = 3;
        const QByteArray packet = hexBytes(single ? "01000003" : "10000000");
        f.expectOpening('2', 'W').expect(packet);
        f.board.expect(single ? packet : hexBytes("1000000F")).reply(ready);
        if (text == kWriteFinished) f.board.expectAny(16).reply("@");

        if (single) {
            f.access.Cmd_WRITE_single_Click();
        } else {
            f.access.Cmd_WRITE_all_Click();
        }

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), text);
        QVERIFY(!f.port.isOpen());
        QVERIFY(f.window.enabled());
    }

    void aReadChunkTimeOutLeavesTheImageAsItWas()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::Microwire, 6, 1);
        f.window.size = 64;
        const QByteArray data = rampBytes(0x10, 32);
        f.expectOpening('3', 'R').expect(hexBytes("10000000"));
        f.board.expect(hexBytes("1000003F")).reply(data.left(16));
        f.board.expect("@").reply(data.mid(16, 16));
        // The third chunk comes one byte short; nothing more is sent after the time-out.
        f.board.expect("@").reply(QByteArray(15, '\x77'));

        f.access.Cmd_READ_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), QStringLiteral("タイムアウト  リードエラー"));
        // Two whole chunks came; none of them replaces the image.
        QCOMPARE(imageOf(f), QByteArray(64, '\xFF'));
        QCOMPARE(f.window.showImageCount, 0);
        QCOMPARE(f.port.closeCount, 1);
        QVERIFY(f.window.enabled());
    }

    // Another program of ours holds the port's claim (a vorle6-cli between a write and its
    // verify): the command is refused naming it, and nothing reaches the port.
    void aClaimedPortIsRefusedNamingItsHolder()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 16);
        f.window.size = 256;
        PortClaim other(f.claims.path(), f.linkSettings().devicePath);
        QVERIFY(other.acquire());
        const AccessOutcome outcome = f.access.Cmd_WRITE_all_Click().access;
        QCOMPARE(outcome.kind, AccessOutcome::Kind::PortUnusable);
        QCOMPARE(outcome.portFailure.kind, PortOpenFailure::Kind::InUse);
        QVERIFY(f.port.openings.isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages.first().detail.contains(
                     QStringLiteral("(PID %1)").arg(QCoreApplication::applicationPid())),
                 qPrintable(f.dialogs.messages.first().detail));
        QVERIFY(f.window.enabled());
    }

    void aWriteReadyTimeOut()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 5, 16);
        f.window.size = 32;
        const QByteArray original = imageOf(f);
        f.expectOpening('2', 'W').expect(hexBytes("10000000"));
        f.board.expect(hexBytes("1000001F")).reply("@").expectAny(16);
        f.access.Cmd_WRITE_all_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(
            f.panels.text(1),
            QStringLiteral("タイムアウト ライトエラー (チップは 0x0000F まで書き込み済みです)"));
        QCOMPARE(imageOf(f), original);
        QVERIFY(!f.port.isOpen());
    }

    void aSilentPreambleFailsAtTheFirstChunk()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 4, 16);
        f.window.size = 16;
        // The header and packets still go out, and a chunk that then arrives is not taken.
        f.expectDetection()
            .expect("E")
            .expect("e2P")
            .expect("E")
            .expect("e2R")
            .expect(hexBytes("10000000"))
            .expect(hexBytes("1000000F"))
            .reply(rampBytes(0, 16));
        f.access.Cmd_READ_all_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), QStringLiteral("タイムアウト  リードエラー"));
        QCOMPARE(imageOf(f), QByteArray(16, '\xFF'));
    }

    void aFailedDetectionSendsNothingMore()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 4, 16);
        f.window.size = 16;
        f.board.expect("?").expect("?");
        f.access.Cmd_WRITE_all_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), QStringLiteral("プログラマ接続確認エラー。【0】"));
        QVERIFY(!f.port.isOpen());
        QVERIFY(f.window.enabled());
    }

    void elapsedTimeShowsWholeSeconds()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 4, 16);
        f.window.cell = 0;
        // 0.1 s of pauses, then the byte 12.3 s later.
        f.expectOpening('2', 'R').expect(hexBytes("01000000"));
        f.board.expect(hexBytes("01000000")).then([&](const QByteArray&) {
            f.clock.after(12300ms, [&] { f.port.deliver("\x01"); });
        });
        f.board.expect("@");
        f.access.Cmd_READ_single_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), QStringLiteral("読み出し終了。 (12sec)"));
    }

    void byteWriteIsVerifiedWhenAsked_data()
    {
        QTest::addColumn<bool>("verify");
        QTest::addColumn<QByteArray>("chip");
        QTest::addColumn<QString>("end");
        QTest::newRow("option off") << false << QByteArray() << kWriteFinished;
        QTest::newRow("the chip holds the byte")
            << true << QByteArray("\xC3") << QStringLiteral("ベリファイOK (0sec)");
        QTest::newRow("the chip holds another byte")
            << true << QByteArray("\xC2")
            << QStringLiteral(
                   "ベリファイエラー: 1 バイト不一致 (最初 0x00024: バッファ 0xC3 / チップ 0xC2)");
    }

    // A Byte Write is followed by a byte read of its cell; the status shows the write's texts,
    // then the verify's, and a difference also shows a warning box.
    void byteWriteIsVerifiedWhenAsked()
    {
        QFETCH(bool, verify);
        QFETCH(QByteArray, chip);
        QFETCH(QString, end);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 8);
        f.state.image.set(0x24, 0xC3);
        f.window.cell = 0x24;
        f.window.verifyWrites = verify;
        const QByteArray packet = hexBytes("01000024");
        f.expectOpening('2', 'W').expect(packet).expect(packet).reply("@").expect("\xC3").reply(
            "@");
        if (verify) f.expectOpening('2', 'R').expect(packet).expect(packet).reply(chip).expect("@");

        f.access.Cmd_WRITE_single_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(f.panels.text(1), end);
        const QStringList texts = f.panels.textsOf(1);
        const qsizetype written = texts.indexOf(kWriteFinished);
        QVERIFY(written >= 0);
        QCOMPARE(texts.indexOf(QStringLiteral("ベリファイ中.....")), verify ? written + 1 : -1);
        QCOMPARE(f.comparisons.shown.size(), verify ? 1 : 0);
        const bool differs = verify && chip != "\xC3";
        QCOMPARE(f.dialogs.messages.size(), differs ? 1 : 0);
        if (differs) {
            QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Warning);
            QVERIFY(f.dialogs.messages.first().text.endsWith(end));
            QCOMPARE(f.comparisons.shown.first().first.first().address, 0x24);
        }
        // The verify reads into a scratch image: the image keeps the byte that was written.
        QCOMPARE(f.state.image.at(0x24), 0xC3);
        QCOMPARE(f.window.accessRunning, (QList<bool>{true, false}));
        QVERIFY(!f.port.isOpen());
    }

    void checksAreRefusedLikeTheAccesses_data()
    {
        // 0 verify, 1 blank check, 2 erase, 3 block read, 4 byte write without a cell
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("text");
        const QString noDevice = QStringLiteral("デバイスが選択されていません。");
        const QString tooLarge = QStringLiteral(
            "アクセスサイズ 384 バイトがメモリーの大きさ 256 バイトを超えるため、読み書きでき"
            "ません。");
        QTest::newRow("verify without a device") << 0 << false << noDevice;
        QTest::newRow("verify beyond the image") << 0 << true << tooLarge;
        QTest::newRow("blank check without a device") << 1 << false << noDevice;
        QTest::newRow("erase without a device") << 2 << false << noDevice;
        QTest::newRow("read beyond the image") << 3 << true << tooLarge;
        QTest::newRow("byte write without a cell")
            << 4 << true
            << QStringLiteral(
                   "バイト単位の読み書きは、グリッドでデータのセルを選んでから行ってください。");
    }

    void checksAreRefusedLikeTheAccesses()
    {
        QFETCH(int, command);
        QFETCH(bool, device);
        QFETCH(QString, text);
        LinkFixture f;
        if (device) f.selectDevice(BusFamily::I2c, 8, 8);
        f.window.size = 384;
        f.state.image.recreate(256);
        for (qint64 a = 0; a < 256; ++a) f.state.image.set(a, 0x11);
        f.window.cell.reset();
        const ChipJobOutcome outcome = command == 0   ? f.checks.Cmd_VERIFY_all_Click()
                                       : command == 1 ? f.checks.mnuBlankCheck_Click()
                                       : command == 2 ? f.checks.mnuErase_Click()
                                       : command == 3 ? f.access.Cmd_READ_all_Click()
                                                      : f.access.Cmd_WRITE_single_Click();
        QCOMPARE(outcome.access.kind, AccessOutcome::Kind::Refused);
        QCOMPARE(imageOf(f), QByteArray(256, '\x11'));
        QCOMPARE(f.panels.text(1), text);
        QVERIFY(f.port.openings.isEmpty());
        QVERIFY(f.window.lockedEnabled.isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void timeTextBesideTheProgressBar_data()
    {
        QTest::addColumn<qint64>("milliseconds");
        QTest::addColumn<qint64>("done");
        QTest::addColumn<QString>("text");
        QTest::newRow("before the first chunk") << qint64{400} << qint64{0} << "経過 0:00";
        QTest::newRow("a quarter") << qint64{5000} << qint64{25} << "経過 0:05 / 残り 0:15";
        QTest::newRow("remaining rounded up")
            << qint64{65400} << qint64{50} << "経過 1:05 / 残り 1:06";
        QTest::newRow("over an hour, done")
            << qint64{3700000} << qint64{100} << "経過 1:01:40 / 残り 0:00";
    }

    void timeTextBesideTheProgressBar()
    {
        QFETCH(qint64, milliseconds);
        QFETCH(qint64, done);
        QFETCH(QString, text);
        AccessTimeEstimate estimate;
        const LinkClock::Duration start = std::chrono::hours{7};
        estimate.start(start);
        QCOMPARE(estimate.text(start + std::chrono::milliseconds{milliseconds}, done, 100), text);
    }

    void onlyTheChangedChunksAreSent_data()
    {
        QTest::addColumn<int>("sizeExponent");
        QTest::addColumn<QList<qint64>>("changed");  // chunks the chip does not hold
        QTest::addColumn<QList<qint64>>("spans");    // first and last address of each write
        QTest::newRow("one chunk") << 8 << QList<qint64>{0x40} << QList<qint64>{0x40, 0x4F};
        QTest::newRow("two chunks near, one write")
            << 8 << QList<qint64>{0x10, 0x30} << QList<qint64>{0x10, 0x3F};
        QTest::newRow("two chunks apart, two writes")
            << 12 << QList<qint64>{0x000, 0xFF0} << QList<qint64>{0x000, 0x00F, 0xFF0, 0xFFF};
        QTest::newRow("the chip holds the image") << 8 << QList<qint64>{} << QList<qint64>{};
    }

    // With 変更箇所だけ書き込む a Block Write reads the range first and sends the changed chunks
    // only, one write per span; a second write of the same image finds nothing to send.
    void onlyTheChangedChunksAreSent()
    {
        QFETCH(int, sizeExponent);
        QFETCH(QList<qint64>, changed);
        QFETCH(QList<qint64>, spans);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, sizeExponent, 16);
        f.window.changedOnly = true;
        const qint64 size = f.state.image.size();
        f.window.size = size;
        const QByteArray image = rampBytes(0x21, static_cast<int>(size));
        f.state.image.replace(image);
        QByteArray chip = image;
        for (const qint64 at : changed) {
            for (qint64 a = at; a < at + 16; ++a) chip[a] = static_cast<char>(~chip.at(a));
        }
        f.expectOpening('2', 'R').expect(packet(0));
        serveRead(f.board, packet(size - 1), chip, 16);
        qint64 sent = 0;
        for (qsizetype i = 0; i < spans.size(); i += 2) {
            f.expectOpening('2', 'W').expect(packet(spans.at(i)));
            const qint64 length = spans.at(i + 1) - spans.at(i) + 1;
            serveWrite(f.board, packet(spans.at(i + 1)), image.mid(spans.at(i), length), 16);
            sent += length;
        }
        f.expectOpening('2', 'R').expect(packet(0));
        serveRead(f.board, packet(size - 1), image, 16);

        const ChipJobOutcome first = f.access.Cmd_WRITE_all_Click();
        const QString firstText = f.panels.text(1);
        const ChipJobOutcome second = f.access.Cmd_WRITE_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        const QString held =
            QStringLiteral("チップはすでにイメージと同じです。何も書き込んでいません。 (0sec)");
        QCOMPARE(firstText,
                 spans.isEmpty()
                     ? held
                     : kWriteFinished + QStringLiteral("  書き込んだ変更箇所: %1 バイト (%2 か所)")
                                            .arg(sent)
                                            .arg(spans.size() / 2));
        QCOMPARE(first.bytesWritten, sent);
        QCOMPARE(f.panels.text(1), held);
        QVERIFY(second.succeeded());
        QCOMPARE(second.bytesWritten, 0);
        QCOMPARE(imageOf(f), image);
    }

    void aFileOfAnotherPartsSizeAsksFirst_data()
    {
        QTest::addColumn<int>("sizeExponent");
        QTest::addColumn<qint64>("fileBytes");  // the loaded file's part size; 0: read from chip
        QTest::addColumn<int>("answer");        // -1: not asked; 0: No; 1: Yes
        QTest::addColumn<QString>("question");
        QTest::newRow("read from the chip") << 8 << qint64{0} << -1 << QString();
        QTest::newRow("the part's size") << 8 << qint64{256} << -1 << QString();
        QTest::newRow("a page short") << 8 << qint64{240} << -1 << QString();
        QTest::newRow("half the part, refused")
            << 12 << qint64{2048} << 0
            << QStringLiteral(
                   "ファイルのサイズ (2048 バイト) がデバイスのサイズ (4096 バイト) と"
                   "違います。書き込みますか？");
        QTest::newRow("larger, written anyway")
            << 8 << qint64{512} << 1
            << QStringLiteral(
                   "ファイルのサイズ (512 バイト) がデバイスのサイズ (256 バイト) と"
                   "違います。書き込みますか？");
    }

    // A Block Write of a file's image that another part's size asks first; No sends nothing.
    void aFileOfAnotherPartsSizeAsksFirst()
    {
        QFETCH(int, sizeExponent);
        QFETCH(qint64, fileBytes);
        QFETCH(int, answer);
        QFETCH(QString, question);
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, sizeExponent, 16);
        const qint64 size = f.state.image.size();
        f.window.size = size;
        f.state.loadedFileBytes = fileBytes;
        if (answer >= 0)
            f.dialogs.messageAnswers = {answer ? MessageAnswer::Yes : MessageAnswer::No};
        const bool sent = answer != 0;
        if (sent) {
            f.expectOpening('2', 'W').expect(packet(0));
            serveWrite(f.board, packet(size - 1), imageOf(f), 16);
        }

        const ChipJobOutcome outcome = f.access.Cmd_WRITE_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QCOMPARE(outcome.succeeded(), sent);
        QCOMPARE(f.port.openings.isEmpty(), !sent);
        QCOMPARE(f.dialogs.messages.size(), answer >= 0 ? 1 : 0);
        if (answer < 0) return;
        QCOMPARE(f.dialogs.messages.first().text, question);
        QCOMPARE(f.dialogs.messages.first().buttons, MessageButtons::YesNo);
    }

    // A backup that cannot be saved ends the write after its read, before anything is written,
    // and a box says why.
    void aBackupThatCannotBeSavedStopsTheWrite()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 8, 16);
        f.window.size = 256;
        f.window.backup = true;
        // A file stands where the backups folder would be made.
        const QString folder = f.frame.context().backupFolder;
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.expectOpening('2', 'R').expect(packet(0));
        serveRead(f.board, packet(255), rampBytes(0, 256), 16);

        const ChipJobOutcome outcome = f.access.Cmd_WRITE_all_Click();

        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QVERIFY(!outcome.succeeded());
        QCOMPARE(f.port.openings.size(), 1);
        const QString why = QStringLiteral("フォルダー %1 がありません。").arg(folder);
        QCOMPARE(f.panels.text(1), QStringLiteral("バックアップを保存できませんでした: ") + why +
                                       QStringLiteral(" (チップには何も書き込んでいません)"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        const MessageBoxRequest& box = f.dialogs.messages.first();
        QCOMPARE(box.icon, MessageIcon::Warning);
        QVERIFY2(box.text.startsWith(QStringLiteral("チップを上書きする前のバックアップを保存でき"
                                                    "なかったため")),
                 qPrintable(box.text));
        QVERIFY(box.text.endsWith(why));
    }

    void cancelStopsARunningRead()
    {
        LinkFixture f;
        f.selectDevice(BusFamily::I2c, 6, 16);
        f.window.size = 64;
        f.expectOpening('2', 'R').expect(hexBytes("10000000"));
        f.board.expect(hexBytes("1000003F")).reply(rampBytes(0, 16));
        f.board.expect("@").then([&](const QByteArray&) { f.link.cancel(); });
        f.access.Cmd_READ_all_Click();
        QVERIFY2(f.board.finished(), qPrintable(f.board.report()));
        QVERIFY(!f.link.running());
        QVERIFY(!f.port.isOpen());
        QCOMPARE(f.window.showImageCount, 0);
        QCOMPARE(f.panels.text(1), QStringLiteral("中止しました。"));
    }
};

QTEST_GUILESS_MAIN(EepromAccessTest)
#include "tst_eeprom_access.moc"
