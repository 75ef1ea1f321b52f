#include "files/IntelHexFile.h"
#include "files/IntelHexWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

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

MemoryImage ascendingImage(qint64 size)
{
    MemoryImage image;
    image.recreate(size);
    for (qint64 i = 0; i < size; ++i) image.set(i, static_cast<std::uint8_t>(i * 7));
    return image;
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

}  // namespace

class IntelHexFileTest : public QObject {
    Q_OBJECT
private slots:
    void saveWritesTheWholeText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.hex"));
        const MemoryImage image = ascendingImage(4096);
        QCOMPARE(saveIntelHexFile(path, image), QString());
        QCOMPARE(readAll(path), intelHexText(image.bytes()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("dump.hex")});
    }

    void saveFailureLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing folder") << "missing/dump.hex";
        QTest::newRow("a folder") << "folder";
    }
    void saveFailureLeavesNothingBehind()
    {
        QFETCH(QString, relativePath);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString error = saveIntelHexFile(dir.filePath(relativePath), ascendingImage(16));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("folder")});
        QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
    }

    void writeProtectedFileIsKept()
    {
        if (geteuid() == 0) QSKIP("file permissions do not bind the superuser");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dump.hex"));
        writeAll(path, "keep me");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QVERIFY(!saveIntelHexFile(path, ascendingImage(16)).isEmpty());
        QCOMPARE(readAll(path), QByteArray("keep me"));
    }

    void loadOfAFileThatCannotBeRead()
    {
        const IntelHexLoad missing = loadIntelHexFile(QStringLiteral("/nonexistent/x.hex"), 64);
        QVERIFY(!missing.complete);
        QVERIFY(!missing.error.isEmpty());

        FailingDevice device(":0100000042BD\r\n");
        QVERIFY(device.open(QIODevice::ReadOnly));
        const IntelHexLoad failed = loadIntelHex(device, 64);
        QVERIFY(!failed.complete);
        QCOMPARE(failed.error, QStringLiteral("device failed"));
    }
};

QTEST_GUILESS_MAIN(IntelHexFileTest)
#include "tst_intel_hex_file.moc"
