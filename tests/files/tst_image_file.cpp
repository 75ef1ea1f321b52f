// Image files as the program saves and loads them, in every format: golden files checked by a
// reading of their own, round trips for every part size, every notice a load can give, and the
// files that must be refused or must survive a failed save.
#include "base/RegularFile.h"
#include "files/FileReplacement.h"
#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"
#include "files/gui/FileWriteTexts.h"
#include "files/gui/ImageLoadTexts.h"
#include "image/MemoryImage.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

Q_DECLARE_METATYPE(ImageFileFormat)
Q_DECLARE_METATYPE(ImageFileLoad::Result)
Q_DECLARE_METATYPE(FileWriteFailure::Cause)

namespace {

// The golden files' image.
std::uint8_t goldenByte(qint64 address)
{
    return static_cast<std::uint8_t>((address * 251 + (address >> 8) + (address >> 16) * 0x35) ^
                                     0x5A);
}

QByteArray goldenImage(qint64 size)
{
    QByteArray bytes(size, 0);
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>(goldenByte(i));
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The lines of a text whose every line ends with CR LF.
QList<QByteArray> crLfLines(const QByteArray& text)
{
    if (!text.endsWith("\r\n")) return {};
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r')) return {};
        line.chop(1);
    }
    return lines;
}

// The digit pairs after the first `skip` characters, when they are all upper-case digits.
QByteArray recordBytes(const QByteArray& line, int skip)
{
    const QByteArray digits = line.mid(skip);
    if (digits.size() % 2 != 0) return {};
    for (char c : digits) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return {};
    }
    return QByteArray::fromHex(digits);
}

int byteAt(const QByteArray& bytes, qsizetype i) { return static_cast<quint8>(bytes.at(i)); }

// Reads an Intel HEX file record by record and checks it against `image`: checksums, record
// kinds and order, every byte once; bank records only above 64 KiB.
void checkIntelHex(const QByteArray& file, const QByteArray& image)
{
    const QList<QByteArray> lines = crLfLines(file);
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.last(), QByteArray(":00000001FF"));
    qint64 base = 0;
    qint64 next = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        QVERIFY2(line.startsWith(':'), line.constData());
        const QByteArray bytes = recordBytes(line, 1);
        QVERIFY2(bytes.size() >= 5 && bytes.size() == byteAt(bytes, 0) + 5, line.constData());
        int sum = 0;
        for (char b : bytes) sum += static_cast<quint8>(b);
        QVERIFY2(sum % 256 == 0, line.constData());
        const int address = byteAt(bytes, 1) * 256 + byteAt(bytes, 2);
        switch (byteAt(bytes, 3)) {
            case 0x00:
                QCOMPARE(byteAt(bytes, 0), 16);
                QCOMPARE(base + address, next);
                QCOMPARE(bytes.mid(4, 16), image.mid(next, 16));
                next += 16;
                break;
            case 0x04:
                QVERIFY(image.size() > 65536);
                QCOMPARE(address, 0);
                base = qint64{byteAt(bytes, 4) * 256 + byteAt(bytes, 5)} << 16;
                QCOMPARE(base, next);
                break;
            default:
                QFAIL(line.constData());
        }
    }
    QCOMPARE(next, image.size());
}

// The same for S-records: the header first, S1 up to 64 KiB and S2 above, the count, the end.
void checkSRecords(const QByteArray& file, const QByteArray& image)
{
    const QList<QByteArray> lines = crLfLines(file);
    QVERIFY(lines.size() >= 3);
    const bool shortAddresses = image.size() <= 65536;
    const int addressBytes = shortAddresses ? 2 : 3;
    qint64 next = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        const QByteArray bytes = recordBytes(line, 2);
        QVERIFY2(line.startsWith('S') && bytes.size() >= 3 && bytes.size() == byteAt(bytes, 0) + 1,
                 line.constData());
        int sum = 0;
        for (qsizetype b = 0; b + 1 < bytes.size(); ++b) sum += byteAt(bytes, b);
        QVERIFY2((~sum & 0xFF) == byteAt(bytes, bytes.size() - 1), line.constData());
        const char type = line.at(1);
        if (i == 0) {
            QCOMPARE(line, QByteArray("S0030000FC"));
        } else if (i == lines.size() - 2) {
            QCOMPARE(type, '5');
            QCOMPARE(byteAt(bytes, 1) * 256 + byteAt(bytes, 2), lines.size() - 3);
        } else if (i == lines.size() - 1) {
            QCOMPARE(line, shortAddresses ? QByteArray("S9030000FC") : QByteArray("S804000000FB"));
        } else {
            QCOMPARE(type, shortAddresses ? '1' : '2');
            QCOMPARE(byteAt(bytes, 0), addressBytes + 16 + 1);
            qint64 address = 0;
            for (int a = 1; a <= addressBytes; ++a) address = address * 256 + byteAt(bytes, a);
            QCOMPARE(address, next);
            QCOMPARE(bytes.mid(1 + addressBytes, 16), image.mid(next, 16));
            next += 16;
        }
    }
    QCOMPARE(next, image.size());
}

// A device that delivers some text and then fails, like a disk that stops answering.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray head) : m_head(std::move(head)) {}
    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_head.isEmpty()) {
            setErrorString(QStringLiteral("device failed"));
            return -1;
        }
        const qint64 count = std::min<qint64>(maxSize, m_head.size());
        memcpy(data, m_head.constData(), static_cast<size_t>(count));
        m_head.remove(0, count);
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_head;
};

// Lets no file grow beyond `bytes` while it lives, the way a full disk stops a write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The system's answers stood in for where a test asks, and the flush and the commit watched
// or made to fail.
class FolderSteps : public FileReplacementSteps {
public:
    [[nodiscard]] bool mayWrite(const QString& path) const override
    {
        if (path == protectedFile || path == protectedFolder) return false;
        return FileReplacementSteps::mayWrite(path);
    }
    [[nodiscard]] qint64 availableBytes(const QString& folder) const override
    {
        return available >= 0 ? available : FileReplacementSteps::availableBytes(folder);
    }
    [[nodiscard]] FileWriteFailure flush(QFileDevice& file) override
    {
        ++flushes;
        struct stat status {};
        if (fstat(file.handle(), &status) == 0) sizeAtFlush = status.st_size;
        if (!target.isEmpty()) targetAtFlush = readAll(target);
        if (failingStep == u"flush") return FileWriteFailure::fromSystemText(systemText);
        return FileReplacementSteps::flush(file);
    }
    [[nodiscard]] FileWriteFailure commit(QSaveFile& file) override
    {
        if (failingStep == u"commit") return FileWriteFailure::fromSystemText(systemText);
        return FileReplacementSteps::commit(file);
    }

    QString protectedFile;    // may not be written
    QString protectedFolder;  // takes no new file
    qint64 available = -1;    // the bytes the disk takes; -1: as the system says
    QString failingStep;      // "flush" or "commit" fails with `systemText`
    QString systemText;
    QString target;  // the file whose contents the flush notes
    int flushes = 0;
    qint64 sizeAtFlush = -1;  // of the file being written
    QByteArray targetAtFlush;
};

// A device that reads `source` and tells no size, like a pipe.
class SequentialDevice : public QIODevice {
public:
    explicit SequentialDevice(QIODevice& source) : m_source(source) {}
    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override { return m_source.read(data, maxSize); }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& m_source;
};

}  // namespace

class ImageFileTest : public QObject {
    Q_OBJECT
private slots:
    void goldenFiles_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<ImageFileFormat>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("256 B Intel HEX") << qint64{256} << ImageFileFormat::IntelHex << "256.hex";
        QTest::newRow("256 B S-records") << qint64{256} << ImageFileFormat::SRecord << "256.s19";
        QTest::newRow("256 B binary") << qint64{256} << ImageFileFormat::Binary << "256.bin";
        QTest::newRow("128 KiB Intel HEX")
            << qint64{131072} << ImageFileFormat::IntelHex << "128k.hex";
        QTest::newRow("128 KiB S-records")
            << qint64{131072} << ImageFileFormat::SRecord << "128k.s28";
        QTest::newRow("128 KiB binary") << qint64{131072} << ImageFileFormat::Binary << "128k.bin";
    }
    // The program writes the golden files byte for byte; a reading of the test's own finds every
    // record sound and the image in them; the program reads them back to the image.
    void goldenFiles()
    {
        QFETCH(qint64, size);
        QFETCH(ImageFileFormat, format);
        QFETCH(QString, name);
        const QString path = QStringLiteral(VORLE_SOURCE_DIR "/tests/files/golden/image-") + name;
        const QByteArray golden = readAll(path);
        const QByteArray image = goldenImage(size);

        switch (format) {
            case ImageFileFormat::IntelHex:
                checkIntelHex(golden, image);
                break;
            case ImageFileFormat::SRecord:
                checkSRecords(golden, image);
                break;
            default:
                QCOMPARE(golden, image);
                break;
        }
        QVERIFY(imageFileContents(format, image) == golden);

        const ImageFileLoad load = loadImageFile(path, ImageFileFormat::Unknown, size);
        QCOMPARE(load.result, ImageFileLoad::Result::Loaded);
        QCOMPARE(load.format, format);
        QVERIFY(!load.formatFromContent);
        QVERIFY(load.image.bytes() == image);
        QCOMPARE(imageLoadNotices(load, size), QStringList());
        QCOMPARE(load.imageBytes(), size);
    }

    void saveThenLoadGivesTheSameImage_data()
    {
        QTest::addColumn<ImageFileFormat>("format");
        QTest::addColumn<int>("exponent");
        const std::pair<const char*, ImageFileFormat> formats[] = {
            {"hex", ImageFileFormat::IntelHex},
            {"srec", ImageFileFormat::SRecord},
            {"bin", ImageFileFormat::Binary}};
        for (const auto& [name, format] : formats) {
            for (int exponent = 4; exponent <= 17; ++exponent) {
                QTest::addRow("%s %d bytes", name, 1 << exponent) << format << exponent;
            }
        }
    }
    void saveThenLoadGivesTheSameImage()
    {
        QFETCH(ImageFileFormat, format);
        QFETCH(int, exponent);
        const qint64 size = qint64{1} << exponent;
        QRandomGenerator generator(static_cast<quint32>(exponent));
        QByteArray bytes(size, 0);
        for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>(generator.bounded(256));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("round"));
        QVERIFY(!saveImageFile(path, format, bytes).failed());
        const ImageFileLoad load = loadImageFile(path, format, size);
        QCOMPARE(load.result, ImageFileLoad::Result::Loaded);
        QVERIFY(load.image.bytes() == bytes);
        QCOMPARE(imageLoadNotices(load, size), QStringList());
        QCOMPARE(load.summary.storedBytes, size);
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("round")});

        // x16 dumps: the file holds each pair swapped, and reads back to the same image.
        QVERIFY(!saveImageFile(path, format, bytes, ImageByteOrder::Swapped16).failed());
        const ImageFileLoad plain = loadImageFile(path, format, size);
        QByteArray swapped = bytes;
        swapBytePairs(swapped);
        QVERIFY(plain.image.bytes() == swapped);
        const ImageFileLoad x16 = loadImageFile(path, format, size, ImageByteOrder::Swapped16);
        QVERIFY(x16.image.bytes() == bytes);
    }

    void loadNotices_data()
    {
        QTest::addColumn<ImageFileFormat>("format");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<ImageFileLoad::Result>("result");
        QTest::addColumn<QStringList>("notices");
        const auto loaded = ImageFileLoad::Result::Loaded;
        const auto noData = ImageFileLoad::Result::NoData;
        const auto bin = ImageFileFormat::Binary;
        const auto hex = ImageFileFormat::IntelHex;
        const auto srec = ImageFileFormat::SRecord;
        const QString beyond = QStringLiteral(
            "ファイルには、デバイスの最終アドレス 0x000F を超えるデータがありました（アドレス "
            "0x0010 から）。\r\n範囲内のデータだけを読み込みました。");
        const QString noDevice = QStringLiteral(
            "デバイスが選択されていないため、ファイルのデータは読み込みませんでした。");
        const QString badChecksum = QStringLiteral(
            "チェックサムが正しくないレコードが 1 件ありました。\r\n"
            "それらのデータもそのまま読み込みました。");
        const QByteArray hexRecord = ":0100000055AA\r\n";
        const QByteArray srecRecord = "S104000055A6\r\n";

        QTest::newRow("binary shorter than the part")
            << bin << QByteArray("\x01\x02\x03") << qint64{16} << loaded
            << QStringList{
                   QStringLiteral("ファイルは 3 バイトで、デバイスの容量 16 バイトより短いため"
                                  "、アドレス 0x0003 から後は 0xFF のままです。")};
        QTest::newRow("binary longer than the part")
            << bin << QByteArray(20, 'x') << qint64{16} << loaded << QStringList{beyond};
        QTest::newRow("binary as long as the part")
            << bin << QByteArray(16, 'x') << qint64{16} << loaded << QStringList{};
        QTest::newRow("binary, empty")
            << bin << QByteArray() << qint64{16} << noData << QStringList{};
        QTest::newRow("binary, no device")
            << bin << QByteArray(4, 'x') << qint64{0} << loaded << QStringList{noDevice};
        QTest::newRow("Intel HEX, end record only")
            << hex << QByteArray(":00000001FF\r\n") << qint64{16} << noData << QStringList{};
        QTest::newRow("Intel HEX, blank lines only")
            << hex << QByteArray("\r\n \r\n") << qint64{16} << noData << QStringList{};
        QTest::newRow("Intel HEX, text only")
            << hex << QByteArray("hello\r\n") << qint64{16} << noData << QStringList{};
        QTest::newRow("Intel HEX, byte-order mark")
            << hex << "\xEF\xBB\xBF" + hexRecord << qint64{16} << loaded << QStringList{};
        QTest::newRow("Intel HEX, lines that are not records")
            << hex << "first\r\n\r\n" + hexRecord + "second\r\n"
            << qint64{16} << loaded
            << QStringList{
                   QStringLiteral("レコードではない行が 2 行ありました（最初は 1 行目）。\r\n"
                                  "それらの行は読み飛ばしました。")};
        QTest::newRow("Intel HEX, wrong checksum")
            << hex << QByteArray(":0100000055AB\r\n") << qint64{16} << loaded
            << QStringList{badChecksum};
        QTest::newRow("Intel HEX, beyond the part")
            << hex << QByteArray(":0100100055AB\r\n" + hexRecord) << qint64{16} << loaded
            << QStringList{beyond, badChecksum};
        QTest::newRow("Intel HEX, records after the end record")
            << hex << hexRecord + ":00000001FF\r\n:0100010066FF\r\n:00000001FF\r\n"
            << qint64{16} << loaded
            << QStringList{QStringLiteral(
                   "終わりのレコード（:00000001FF）の後にレコードが 2 件ありました。\r\n"
                   "それらは読み込みませんでした。")};
        QTest::newRow("Intel HEX, overlapping records")
            << hex << QByteArray(":020004001122C7\r\n:02000500334482\r\n") << qint64{16} << loaded
            << QStringList{QStringLiteral(
                   "前のレコードと同じアドレスに書くレコードがありました（1 バイト、"
                   "最初はアドレス 0x0005）。\r\n後のレコードのデータを読み込みました。")};
        QTest::newRow("S-records, header, count and end only")
            << srec << QByteArray("S0030000FC\r\nS5030000FC\r\nS9030000FC\r\n") << qint64{16}
            << noData << QStringList{};
        QTest::newRow("S-records, wrong checksum")
            << srec << QByteArray("S104000055A7\n") << qint64{16} << loaded
            << QStringList{badChecksum};
        QTest::newRow("S-records, beyond the part")
            << srec << "S104001055" + QByteArray("96\r\n") + srecRecord << qint64{16} << loaded
            << QStringList{beyond};
        QTest::newRow("S-records, a line that is not a record")
            << srec << srecRecord + "S1040001zz00\r\n"
            << qint64{16} << loaded
            << QStringList{
                   QStringLiteral("レコードではない行が 1 行ありました（最初は 2 行目）。\r\n"
                                  "それらの行は読み飛ばしました。")};
    }
    void loadNotices()
    {
        QFETCH(ImageFileFormat, format);
        QFETCH(QByteArray, contents);
        QFETCH(qint64, size);
        QFETCH(ImageFileLoad::Result, result);
        QFETCH(QStringList, notices);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file"));
        writeAll(path, contents);
        const ImageFileLoad load = loadImageFile(path, format, size);
        QCOMPARE(load.result, result);
        QCOMPARE(imageLoadNotices(load, size), notices);
        QCOMPARE(load.image.size(), size);
    }

    void formatFromTheContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<ImageFileFormat>("format");
        QTest::addColumn<bool>("fromContent");
        QTest::newRow("Intel HEX") << "dump.dat" << QByteArray("\r\n  :0100000055AA\r\n")
                                   << ImageFileFormat::IntelHex << true;
        QTest::newRow("S-records after a mark")
            << "dump" << QByteArray("\xEF\xBB\xBF\ns104000055a6\n") << ImageFileFormat::SRecord
            << true;
        QTest::newRow("binary") << "dump.rom" << QByteArray("\x00\x01:", 3)
                                << ImageFileFormat::Binary << true;
        QTest::newRow("a colon before bytes that are not text")
            << "dump.dat" << QByteArray(":\x01\x02\xFF", 4) << ImageFileFormat::Binary << true;
        QTest::newRow("the extension goes first")
            << "dump.BIN" << QByteArray(":0100000055AA\r\n") << ImageFileFormat::Binary << false;
    }
    void formatFromTheContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(ImageFileFormat, format);
        QFETCH(bool, fromContent);
        QTemporaryDir dir;
        writeAll(dir.filePath(name), contents);
        const ImageFileLoad load = loadImageFile(dir.filePath(name), ImageFileFormat::Unknown, 16);
        QCOMPARE(load.format, format);
        QCOMPARE(load.formatFromContent, fromContent);
        QCOMPARE(load.result, ImageFileLoad::Result::Loaded);
    }

    // Each of these would keep a read waiting or never let it end; none is opened for long.
    void specialFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("link to a device") << "link to /dev/zero";
        QTest::newRow("link to a pipe") << "link to pipe";
    }
    void specialFilesAreRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QString path = kind == u"/dev/zero" ? kind : pipe;
        if (kind.startsWith(QStringLiteral("link to "))) {
            path = dir.filePath(QStringLiteral("link"));
            QVERIFY(
                QFile::link(kind == u"link to pipe" ? pipe : QStringLiteral("/dev/zero"), path));
        }

        const ImageFileLoad load = loadImageFile(path, ImageFileFormat::Unknown, 256);
        QCOMPARE(load.result, ImageFileLoad::Result::NotRegularFile);
        const FileWriteFailure save =
            saveImageFile(path, ImageFileFormat::Binary, QByteArray(16, 'x'));
        QCOMPARE(save.cause, FileWriteFailure::Cause::NotRegularFile);
        QCOMPARE(writeFailureText(save), notRegularFileText());
        struct stat status {};
        QCOMPARE(stat(QFile::encodeName(pipe).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    void unreadableFiles()
    {
        QTemporaryDir dir;
        const ImageFileLoad missing = loadImageFile(dir.filePath(QStringLiteral("missing.hex")),
                                                    ImageFileFormat::Unknown, 64);
        QCOMPARE(missing.result, ImageFileLoad::Result::Unreadable);
        QVERIFY(!missing.error.isEmpty());
        const ImageFileLoad folder = loadImageFile(dir.path(), ImageFileFormat::Unknown, 64);
        QCOMPARE(folder.result, ImageFileLoad::Result::Unreadable);

        FailingDevice device(":0100000042BD\r\n");
        QVERIFY(device.open(QIODevice::ReadOnly));
        const ImageFileLoad failed = loadImage(device, ImageFileFormat::IntelHex, 64);
        QCOMPARE(failed.result, ImageFileLoad::Result::Unreadable);
        QCOMPARE(failed.error, QStringLiteral("device failed"));
    }

    void saveFailureLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<FileWriteFailure::Cause>("cause");
        QTest::newRow("missing folder") << "missing/dump.hex" << FileWriteFailure::Cause::NoFolder;
        QTest::newRow("a folder") << "folder" << FileWriteFailure::Cause::Folder;
        // Stops the superuser as well as anyone.
        QTest::newRow("a file for a folder")
            << "file/dump.hex" << FileWriteFailure::Cause::NoFolder;
        QTest::newRow("a link to a folder") << "to folder" << FileWriteFailure::Cause::Folder;
    }
    void saveFailureLeavesNothingBehind()
    {
        QFETCH(QString, relativePath);
        QFETCH(FileWriteFailure::Cause, cause);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        writeAll(dir.filePath(QStringLiteral("file")), "keep me");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("folder")),
                            dir.filePath(QStringLiteral("to folder"))));
        const FileWriteFailure failure = saveImageFile(
            dir.filePath(relativePath), ImageFileFormat::IntelHex, QByteArray(16, 'x'));
        QCOMPARE(failure.cause, cause);
        QVERIFY(!writeFailureText(failure).isEmpty());
        QCOMPARE(entriesOf(dir.path()),
                 (QStringList{QStringLiteral("file"), QStringLiteral("folder"),
                              QStringLiteral("to folder")}));
        QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("file"))), QByteArray("keep me"));
    }

    // A link stays a link: the file it leads to, through any number of links, gets the new
    // contents, as does the file a dangling link names.
    void saveThroughALinkReplacesItsTarget_data()
    {
        QTest::addColumn<QString>("linkTarget");  // relative to the link's own folder
        QTest::addColumn<QString>("target");      // the file that gets the contents
        QTest::newRow("absolute") << "{dir}/data/dump.hex"
                                  << "data/dump.hex";
        QTest::newRow("relative") << "data/dump.hex"
                                  << "data/dump.hex";
        QTest::newRow("a chain of links") << "second"
                                          << "data/dump.hex";
        QTest::newRow("dangling") << "data/new.hex"
                                  << "data/new.hex";
    }
    void saveThroughALinkReplacesItsTarget()
    {
        QFETCH(QString, linkTarget);
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data")));
        writeAll(dir.filePath(QStringLiteral("data/dump.hex")), "old");
        QVERIFY(
            QFile::link(QStringLiteral("data/dump.hex"), dir.filePath(QStringLiteral("second"))));
        const QString link = dir.filePath(QStringLiteral("link.hex"));
        QVERIFY(
            QFile::link(QString(linkTarget).replace(QStringLiteral("{dir}"), dir.path()), link));
        // The folder the link is in takes no new file: only the target's folder matters.
        FolderSteps steps;
        steps.protectedFolder = dir.path();

        const QByteArray bytes = goldenImage(64);
        const FileWriteFailure failure = replaceFile(link, bytes, steps);
        QCOMPARE(failure.cause, FileWriteFailure::Cause::None);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(dir.filePath(target)), bytes);
        QCOMPARE(entriesOf(dir.filePath(QStringLiteral("data"))).size(),
                 target == u"data/new.hex" ? 2 : 1);
    }

    void linkLoopIsRefused()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("b")), dir.filePath(QStringLiteral("a"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))));
        const FileWriteFailure failure =
            saveImageFile(dir.filePath(QStringLiteral("a")), ImageFileFormat::Binary, "x");
        QCOMPARE(failure.cause, FileWriteFailure::Cause::System);
        QCOMPARE(failure.systemText, qt_error_string(ELOOP));
    }

    // What keeps the old file from being kept while the new one is written refuses the save
    // before anything is written. The system's answers are stood in for, so that this holds
    // for the superuser too, whom permissions do not stop.
    void refusedBeforeTouchingTheOldFile_data()
    {
        QTest::addColumn<QString>("protectedPath");  // "file" or "folder": may not be written
        QTest::addColumn<qint64>("available");       // bytes the disk still takes
        QTest::addColumn<FileWriteFailure::Cause>("cause");
        QTest::addColumn<QString>("text");
        QTest::newRow("write-protected file")
            << "file" << qint64{-1} << FileWriteFailure::Cause::WriteProtected
            << QStringLiteral("ファイルへの書き込みが許可されていません。");
        QTest::newRow("read-only folder")
            << "folder" << qint64{-1} << FileWriteFailure::Cause::FolderWriteProtected
            << QStringLiteral(
                   "フォルダー {folder} に書き込めないため、元のファイルを残したまま"
                   "新しいファイルを書くことができません。");
        QTest::newRow("no room beside the old file")
            << "" << qint64{100} << FileWriteFailure::Cause::DiskFull
            << QStringLiteral("ディスクの空き容量が足りません");
    }
    void refusedBeforeTouchingTheOldFile()
    {
        QFETCH(QString, protectedPath);
        QFETCH(qint64, available);
        QFETCH(FileWriteFailure::Cause, cause);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.hex"));
        writeAll(path, "keep me");
        FolderSteps steps;
        if (protectedPath == u"file") steps.protectedFile = path;
        if (protectedPath == u"folder") steps.protectedFolder = dir.path();
        steps.available = available;

        const FileWriteFailure failure = replaceFile(path, goldenImage(4096), steps);
        QCOMPARE(failure.cause, cause);
        QCOMPARE(writeFailureText(failure), QString(text).replace("{folder}", dir.path()));
        QCOMPARE(steps.flushes, 0);
        QCOMPARE(readAll(path), QByteArray("keep me"));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("dump.hex")});
        QCOMPARE(replacementProblem(path, 4096, steps).cause, cause);
    }

    void writeProtectedFileIsKept()
    {
        if (geteuid() == 0) QSKIP("file permissions do not bind the superuser");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.hex"));
        writeAll(path, "keep me");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QCOMPARE(saveImageFile(path, ImageFileFormat::IntelHex, QByteArray(16, 'x')).cause,
                 FileWriteFailure::Cause::WriteProtected);
        QCOMPARE(readAll(path), QByteArray("keep me"));
        // Nor is it written in place in a folder that takes no temporary file.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const FileWriteFailure inPlace =
            saveImageFile(path, ImageFileFormat::IntelHex, QByteArray(16, 'x'));
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(inPlace.cause, FileWriteFailure::Cause::FolderWriteProtected);
        QCOMPARE(readAll(path), QByteArray("keep me"));
    }

    // The new file reaches the disk before it takes the old one's place; should either step
    // fail, the save says why and the old file is as it was.
    void flushAndCommitFailuresKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("failingStep");
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << "" << QString() << QString();
        QTest::newRow("flush: input/output error")
            << "flush" << qt_error_string(EIO) << qt_error_string(EIO);
        const QString full = QStringLiteral("ディスクの空き容量が足りません");
        QTest::newRow("flush: the disk is full") << "flush" << qt_error_string(ENOSPC) << full;
        QTest::newRow("flush: over the quota") << "flush" << qt_error_string(EDQUOT) << full;
        QTest::newRow("flush: no words from the system")
            << "flush" << QString() << QStringLiteral("ファイルへの書き込みが途中で止まりました。");
        QTest::newRow("commit") << "commit" << qt_error_string(EIO) << qt_error_string(EIO);
    }
    void flushAndCommitFailuresKeepTheOldFile()
    {
        QFETCH(QString, failingStep);
        QFETCH(QString, systemText);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.bin"));
        writeAll(path, "old contents");
        FolderSteps steps;
        steps.failingStep = failingStep;
        steps.systemText = systemText;
        steps.target = path;

        const QByteArray bytes = goldenImage(4096);
        const FileWriteFailure failure = replaceFile(path, bytes, steps);
        QCOMPARE(writeFailureText(failure), text);
        // The flush came once, with all the new bytes written and the old file still in place.
        QCOMPARE(steps.flushes, 1);
        QCOMPARE(steps.sizeAtFlush, bytes.size());
        QCOMPARE(steps.targetAtFlush, QByteArray("old contents"));
        QCOMPARE(readAll(path), failure.failed() ? QByteArray("old contents") : bytes);
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("dump.bin")});
    }

    // A full disk takes what fits and then refuses: the save names the system's reason, and
    // the old file is as it was.
    void fullDiskKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.hex"));
        writeAll(path, "old contents");
        FileWriteFailure failure;
        {
            const FileSizeLimit limit(1000);
            failure = saveImageFile(path, ImageFileFormat::IntelHex, goldenImage(4096));
        }
        QCOMPARE(writeFailureText(failure), qt_error_string(EFBIG));
        QCOMPARE(readAll(path), QByteArray("old contents"));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("dump.hex")});
    }

    // A file far larger than any part's image is refused by its size, unread.
    void hugeFilesAreRefusedUnread_data()
    {
        QTest::addColumn<ImageFileFormat>("format");
        QTest::newRow("Intel HEX") << ImageFileFormat::IntelHex;
        QTest::newRow("binary") << ImageFileFormat::Binary;
    }
    void hugeFilesAreRefusedUnread()
    {
        QFETCH(ImageFileFormat, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(":0100000042BD\r\n");
            // A sparse file: its size costs no disk.
            QVERIFY(file.resize(kLargestImageFile + 1));
        }
        const ImageFileLoad load = loadImageFile(path, format, 256);
        QCOMPARE(load.result, ImageFileLoad::Result::TooLarge);
        QCOMPARE(load.fileBytes, kLargestImageFile + 1);
        QCOMPARE(load.summary.storedBytes, 0);
        QVERIFY(tooLargeText(load).contains(QString::number(kLargestImageFile + 1)));

        // A stream is read no further than the limit.
        QByteArray stream(kLargestImageFile + 100, '\n');
        stream.prepend(":0100000042BD");
        QBuffer buffer(&stream);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        SequentialDevice sequential(buffer);
        QVERIFY(sequential.open(QIODevice::ReadOnly));
        QCOMPARE(loadImage(sequential, format, 256).result, ImageFileLoad::Result::TooLarge);
        QVERIFY(buffer.pos() <= kLargestImageFile + 65536);
    }

    // The size of the part a file is an image of: a binary file's length, a text file's
    // highest address rounded up to a part's size.
    void imageBytes_data()
    {
        QTest::addColumn<ImageFileFormat>("format");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qint64>("imageBytes");
        QTest::newRow("binary") << ImageFileFormat::Binary << QByteArray(300, 'x') << qint64{300};
        QTest::newRow("Intel HEX up to 0x0E10")
            << ImageFileFormat::IntelHex << QByteArray(":010E1000429F\r\n") << qint64{4096};
        QTest::newRow("Intel HEX, one byte")
            << ImageFileFormat::IntelHex << QByteArray(":0100000042BD\r\n") << qint64{16};
        QTest::newRow("Intel HEX beyond the part")
            << ImageFileFormat::IntelHex << QByteArray(":0101000042BC\r\n") << qint64{512};
        QTest::newRow("S-records")
            << ImageFileFormat::SRecord << QByteArray("S10400FF42BA\r\n") << qint64{256};
    }
    void imageBytes()
    {
        QFETCH(ImageFileFormat, format);
        QFETCH(QByteArray, contents);
        QFETCH(qint64, imageBytes);
        QBuffer buffer(&contents);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const ImageFileLoad load = loadImage(buffer, format, 256);
        QCOMPARE(load.result, ImageFileLoad::Result::Loaded);
        QCOMPARE(load.imageBytes(), imageBytes);
    }
};

QTEST_MAIN(ImageFileTest)
#include "tst_image_file.moc"
