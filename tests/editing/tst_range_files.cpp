// Files loaded into a range of the image (only the bytes a file holds, from where the user
// chose) and selections saved as files.
#include "editing/ImageEditor.h"
#include "editing/RangeFiles.h"
#include "files/IntelHexWriter.h"
#include "files/SRecordWriter.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

// Intel HEX with 0x00 0xFF at 0x10 and 0xAA at 0x20: the addresses between hold nothing, and
// 0xFF in a record is a byte of the file all the same.
QByteArray sparseHex()
{
    QByteArray first(
        ":02001000"
        "00FF");
    AppendRecordChecksum(first);
    QByteArray second(
        ":01002000"
        "AA");
    AppendRecordChecksum(second);
    return first + "\r\n" + second + "\r\n:00000001FF\r\n";
}

QByteArray ascending(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>(i);
    return bytes;
}

using Runs = QList<QPair<qint64, QByteArray>>;

Runs pairsOf(const ByteRuns& runs)
{
    Runs pairs;
    for (const ByteRun& run : runs) pairs.append({run.address, run.bytes});
    return pairs;
}

}  // namespace

Q_DECLARE_METATYPE(RangeFileRead::Result)

class RangeFilesTest : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void refusals();
    void loadIntoAnImageAndUndo();
    void savedSelectionReadsBack_data();
    void savedSelectionReadsBack();
};

void RangeFilesTest::read_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("length");  // -1: all that follows
    QTest::addColumn<qint64>("room");
    QTest::addColumn<Runs>("runs");
    QTest::addColumn<qint64>("beyond");
    QTest::addColumn<RangeFileRead::Result>("result");

    const auto read = RangeFileRead::Result::Read;
    const QByteArray bytes = ascending(64);
    QTest::newRow("binary") << bytes << "a.bin" << qint64{0} << qint64{-1} << qint64{256}
                            << Runs{{0, bytes}} << qint64{0} << read;
    QTest::newRow("binary longer than the room")
        << bytes << "a.bin" << qint64{0} << qint64{-1} << qint64{40} << Runs{{0, bytes.left(40)}}
        << qint64{24} << read;
    QTest::newRow("binary part") << bytes << "a.bin" << qint64{0x10} << qint64{4} << qint64{2}
                                 << Runs{{0, bytes.mid(0x10, 4)}} << qint64{0} << read;
    QTest::newRow("binary past its end")
        << bytes << "a.bin" << qint64{64} << qint64{-1} << qint64{256} << Runs{} << qint64{0}
        << RangeFileRead::Result::NoData;
    QTest::newRow("Intel HEX keeps its gaps")
        << sparseHex() << "a.hex" << qint64{0} << qint64{-1} << qint64{256}
        << Runs{{0x10, QByteArray("\x00\xFF", 2)}, {0x20, QByteArray("\xAA")}} << qint64{0} << read;
    QTest::newRow("Intel HEX from an offset")
        << sparseHex() << "a.hex" << qint64{0x11} << qint64{-1} << qint64{256}
        << Runs{{0, QByteArray("\xFF")}, {0x0F, QByteArray("\xAA")}} << qint64{0} << read;
    QTest::newRow("Intel HEX past the room")
        << sparseHex() << "a.hex" << qint64{0} << qint64{-1} << qint64{0x20}
        << Runs{{0x10, QByteArray("\x00\xFF", 2)}} << qint64{1} << read;
    QTest::newRow("Intel HEX found by its content")
        << sparseHex() << "data.txt" << qint64{0x20} << qint64{1} << qint64{256}
        << Runs{{0, QByteArray("\xAA")}} << qint64{0} << read;
    QTest::newRow("S-records") << sRecordText(bytes.left(32)) << "a.s19" << qint64{8} << qint64{-1}
                               << qint64{16} << Runs{{0, bytes.mid(8, 16)}} << qint64{8} << read;
    QTest::newRow("nothing in the range")
        << sparseHex() << "a.hex" << qint64{0x30} << qint64{-1} << qint64{256} << Runs{}
        << qint64{0} << RangeFileRead::Result::NoData;
}

void RangeFilesTest::read()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, name);
    QFETCH(qint64, offset);
    QFETCH(qint64, length);
    QFETCH(qint64, room);
    QFETCH(Runs, runs);
    QFETCH(qint64, beyond);
    QFETCH(RangeFileRead::Result, result);

    QTemporaryDir dir;
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    const RangeSource source{offset, length < 0 ? std::nullopt : std::optional<qint64>(length)};
    const RangeFileRead read =
        readRangeFile(file.fileName(), ImageFileFormat::Unknown, source, room);
    QCOMPARE(read.result, result);
    QCOMPARE(pairsOf(read.runs), runs);
    QCOMPARE(read.bytesBeyond, beyond);
}

void RangeFilesTest::refusals()
{
    QTemporaryDir dir;
    QCOMPARE(readRangeFile(dir.filePath("missing.bin"), ImageFileFormat::Binary, {}, 16).result,
             RangeFileRead::Result::Unreadable);
    QCOMPARE(readRangeFile("/dev/zero", ImageFileFormat::Binary, {}, 16).result,
             RangeFileRead::Result::NotRegularFile);
    QFile file(dir.filePath("a.hex"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sparseHex());
    file.close();
    const RangeSource far{RangeFileRead::kLargestSource, 1};
    QCOMPARE(readRangeFile(file.fileName(), ImageFileFormat::Unknown, far, 16).result,
             RangeFileRead::Result::TooLarge);
}

// The sparse file at 0xF0 of a 256-byte image: its first two bytes land, the third would lie
// past the end; the bytes between stay, and the load is one undo step.
void RangeFilesTest::loadIntoAnImageAndUndo()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("patch.hex"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sparseHex());
    file.close();
    MemoryImage image;
    image.recreate(256);
    image.write(0, ascending(256));
    UnsavedImage unsaved;
    ImageEditor editor(image, unsaved);

    const qint64 target = 0xE0;
    const RangeFileRead read =
        readRangeFile(file.fileName(), ImageFileFormat::Unknown, {0, 0x30}, image.size() - target);
    QVERIFY(read.read());
    QCOMPARE(read.overrun(target, image.size()), qint64{1});
    const EditOutcome outcome = editor.writeRuns(target, read.runs);
    QCOMPARE(outcome.leftOut, qint64{1});
    QCOMPARE(outcome.changed, (AddressRange{0xF0, 2}));
    QCOMPARE(image.at(0xF0), std::uint8_t{0x00});
    QCOMPARE(image.at(0xF1), std::uint8_t{0xFF});
    QCOMPARE(image.at(0xF2), std::uint8_t{0xF2});
    QVERIFY(editor.undo());
    QCOMPARE(image.bytes(), ascending(256));
}

void RangeFilesTest::savedSelectionReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("binary") << "part.bin";
    QTest::newRow("Intel HEX") << "part.hex";
    QTest::newRow("S-records") << "part.s19";
}

// A selection of 20 bytes, not a whole number of records, saved and read back whole.
void RangeFilesTest::savedSelectionReadsBack()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    MemoryImage image;
    image.recreate(256);
    image.write(0, ascending(256));
    const QString path = dir.filePath(name);
    QVERIFY(!saveRangeFile(path, formatForPath(path), image, {0x33, 20}).failed());
    const RangeFileRead read = readRangeFile(path, ImageFileFormat::Unknown, {}, 256);
    QCOMPARE(pairsOf(read.runs), (Runs{{0, ascending(256).mid(0x33, 20)}}));
}

QTEST_GUILESS_MAIN(RangeFilesTest)
#include "tst_range_files.moc"
