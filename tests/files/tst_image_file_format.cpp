// Which format a file is read or written in, and the list of recent files.
#include "base/SettingsStore.h"
#include "files/ImageFileFilters.h"
#include "files/ImageFileFormat.h"
#include "files/RecentFiles.h"
#include "files/gui/FileDialogFilters.h"
#include "support/TestEnvironment.h"

#include <QTest>

Q_DECLARE_METATYPE(ImageFileFormat)

namespace {

constexpr auto kUnknown = ImageFileFormat::Unknown;
constexpr auto kHex = ImageFileFormat::IntelHex;
constexpr auto kSRecord = ImageFileFormat::SRecord;
constexpr auto kBinary = ImageFileFormat::Binary;

}  // namespace

class ImageFileFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formatForPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<ImageFileFormat>("format");
        QTest::newRow("hex") << "/a/dump.hex" << kHex;
        QTest::newRow("HEX") << "DUMP.HEX" << kHex;
        QTest::newRow("ihx") << "dump.ihx" << kHex;
        for (const char* extension : {"s19", "S28", "s37", "srec", "mot"}) {
            QTest::addRow("%s", extension) << QStringLiteral("x.%1").arg(extension) << kSRecord;
        }
        QTest::newRow("bin") << "dump.Bin" << kBinary;
        QTest::newRow("other") << "dump.dat" << kUnknown;
        QTest::newRow("none") << "dump" << kUnknown;
        QTest::newRow("folder with a dot") << "/a.hex/dump" << kUnknown;
    }
    void formatForPath()
    {
        QFETCH(QString, path);
        QFETCH(ImageFileFormat, format);
        QCOMPARE(::formatForPath(path), format);
    }

    void detection_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<ImageFileFormat>("format");
        QTest::newRow("Intel HEX") << QByteArray(":10000000") << kHex;
        QTest::newRow("after blank lines and a mark")
            << QByteArray("\xEF\xBB\xBF\r\n\r\n \t:00000001FF") << kHex;
        QTest::newRow("S-records") << QByteArray("S0030000FC\r\n") << kSRecord;
        QTest::newRow("lower-case s") << QByteArray("s1130000") << kSRecord;
        QTest::newRow("S without a digit") << QByteArray("Some text\r\n") << kBinary;
        QTest::newRow("bytes") << QByteArray("\x00\xFF\x12", 3) << kBinary;
        QTest::newRow("colon and bytes") << QByteArray(":\x80\x01", 3) << kBinary;
        QTest::newRow("empty") << QByteArray() << kBinary;
        QTest::newRow("text first line, bytes after")
            << QByteArray(":10000000\r\n\x00\x01", 13) << kHex;
    }
    void detection()
    {
        QFETCH(QByteArray, head);
        QFETCH(ImageFileFormat, format);
        QCOMPARE(detectImageFileFormat(head), format);
    }

    void dialogChoice_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<ImageFileFormat>("load");
        QTest::addColumn<ImageFileFormat>("save");
        QTest::addColumn<bool>("swapped");
        QTest::newRow("extension over filter") << "a.s19" << 2 << kSRecord << kSRecord << false;
        QTest::newRow("hex filter, unknown extension") << "a.dat" << 0 << kUnknown << kHex << false;
        QTest::newRow("S-record filter") << "a.dat" << 1 << kSRecord << kSRecord << false;
        QTest::newRow("binary filter") << "a" << 2 << kBinary << kBinary << false;
        QTest::newRow("all files") << "a.dat" << 3 << kUnknown << kHex << false;
        QTest::newRow("x16, binary by name") << "a.bin" << 4 << kBinary << kBinary << true;
        QTest::newRow("x16, no extension") << "a" << 4 << kUnknown << kHex << true;
        QTest::newRow("no filter") << "a.bin" << -1 << kBinary << kBinary << false;
    }
    void dialogChoice()
    {
        QFETCH(QString, path);
        QFETCH(int, filterIndex);
        QFETCH(ImageFileFormat, load);
        QFETCH(ImageFileFormat, save);
        QFETCH(bool, swapped);
        QCOMPARE(formatToLoad(path, filterIndex), load);
        QCOMPARE(formatToSave(path, filterIndex), save);
        QCOMPARE(byteOrderForFilter(filterIndex) == ImageByteOrder::Swapped16, swapped);
    }

    // One filter per format in the order of formatForFilter, then all files; Intel HEX first.
    void filterLists()
    {
        for (const QString& filter : {openFileFilter(), saveFileFilter()}) {
            const QStringList parts = filter.split(QLatin1Char('|'));
            QCOMPARE(parts.size(), 9);
            QCOMPARE(parts.last(), QString());
            QCOMPARE(parts.at(0), QStringLiteral("Hexファイル"));
            QCOMPARE(parts.at(6), QStringLiteral("全てのファイル"));
            QCOMPARE(parts.at(7), QStringLiteral("*.*"));
            for (int i = 0; i < 3; ++i) {
                const QString firstPattern = parts.at(2 * i + 1).section(QLatin1Char(';'), 0, 0);
                QCOMPARE(::formatForPath(QStringLiteral("x") + firstPattern.mid(1)),
                         formatForFilter(i));
            }
        }
        QVERIFY(openFileFilter().startsWith(QStringLiteral("Hexファイル|*.HEX|")));
        QVERIFY(saveFileFilter().startsWith(QStringLiteral("Hexファイル|*.hex|")));
        // For Microwire parts one more, last, so that the others keep their places.
        QCOMPARE(openFileFilter(true),
                 openFileFilter() + QStringLiteral("16ビット (バイト入れ替え)|"
                                                   "*.HEX;*.S19;*.S28;*.S37;*.SREC;*.MOT;*.BIN|"));
        QCOMPARE(saveFileFilter(true),
                 saveFileFilter() + QStringLiteral("16ビット (バイト入れ替え)|"
                                                   "*.hex;*.s19;*.s28;*.s37;*.srec;*.mot;*.bin|"));
    }

    void recentFiles()
    {
        const TestEnvironment environment;
        SettingsStore settings;
        {
            RecentFiles recent(settings);
            QCOMPARE(recent.paths(), QStringList{});
            for (int i = 1; i <= 10; ++i) recent.add(QStringLiteral("/f/%1.hex").arg(i));
            recent.add(QStringLiteral("/f/x/../7.hex"));
            recent.remove(QStringLiteral("/f/9.hex"));
        }
        const QStringList expected = {"/f/7.hex", "/f/10.hex", "/f/8.hex", "/f/6.hex",
                                      "/f/5.hex", "/f/4.hex",  "/f/3.hex"};
        QCOMPARE(RecentFiles(settings).paths(), expected);
        QCOMPARE(settings.get(QStringLiteral("RecentFiles"), QStringLiteral("File1"), QString()),
                 QStringLiteral("/f/7.hex"));
        QCOMPARE(settings.get(QStringLiteral("RecentFiles"), QStringLiteral("File8"), "unset"),
                 QString());
    }
};

QTEST_MAIN(ImageFileFormatTest)
#include "tst_image_file_format.moc"
