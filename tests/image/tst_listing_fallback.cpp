#include "image/ImageListing.h"
#include "image/ListingPath.h"
#include "support/RecordingStatusPanels.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

// Where the listing file goes: beside the program when the program may write there, else in
// the user's cache folder (an installed program).
class ListingFallbackTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void besideAWritableProgram();
    void fallsBackWhenTheFolderIsNotWritable_data();
    void fallsBackWhenTheFolderIsNotWritable();
    void aPipeIsNeverOpened();

private:
    std::unique_ptr<QTemporaryDir> m_cache;
};

void ListingFallbackTest::init()
{
    m_cache = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CACHE_HOME", m_cache->path().toLocal8Bit());
}

void ListingFallbackTest::besideAWritableProgram()
{
    QTemporaryDir program;
    const QString folder = program.path() + '/';
    QCOMPARE(listingFilePath(folder), folder + "temp.txt");
    // Asking leaves nothing behind, and keeps an earlier listing as it is.
    QVERIFY(!QFile::exists(folder + "temp.txt"));
    QFile earlier(folder + "temp.txt");
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("0x00000\t0xFF\r\n");
    earlier.close();

    QCOMPARE(listingFilePath(folder), folder + "temp.txt");
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("0x00000\t0xFF\r\n"));
}

void ListingFallbackTest::fallsBackWhenTheFolderIsNotWritable_data()
{
    QTest::addColumn<QString>("folder");
    // /proc takes no new files, whoever asks.
    QTest::newRow("system folder") << QStringLiteral("/proc/");
    QTest::newRow("no such folder") << QStringLiteral("/nonexistent/vorle6/");
}

void ListingFallbackTest::fallsBackWhenTheFolderIsNotWritable()
{
    QFETCH(QString, folder);
    const QString expected = m_cache->path() + "/VORLE/temp.txt";
    QCOMPARE(listingFilePath(folder), expected);
    QVERIFY(QFileInfo(m_cache->path() + "/VORLE").isDir());

    // The fallback is writable, and both users of the path meet at the same file.
    QFile listing(expected);
    QVERIFY(listing.open(QIODevice::WriteOnly | QIODevice::Truncate));
    listing.close();
    QCOMPARE(listingFilePath(folder), expected);
}

// A pipe without a reader would keep the open waiting for ever: the listing goes to the cache
// folder instead, is never written into a pipe, and the pipe can be set aside.
void ListingFallbackTest::aPipeIsNeverOpened()
{
    QTemporaryDir program;
    const QString folder = program.path() + '/';
    const QString pipe = folder + "temp.txt";
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QCOMPARE(listingFilePath(folder), m_cache->path() + "/VORLE/temp.txt");
    RecordingStatusPanels panels;
    QVERIFY(!ImageListing::write(QByteArray(16, '\xFF'), pipe, panels));

    const QList<SetAsideFile> setAside = setAsideSpecialListings(folder);
    QCOMPARE(setAside.size(), 1);
    QCOMPARE(setAside.first().path, pipe);
    QCOMPARE(setAside.first().newPath, pipe + ".not-a-file");
    QVERIFY(!QFileInfo::exists(pipe));
    QCOMPARE(listingFilePath(folder), pipe);
}

QTEST_GUILESS_MAIN(ListingFallbackTest)
#include "tst_listing_fallback.moc"
