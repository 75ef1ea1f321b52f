// The listing file's exact bytes and the progress shown while it is built.
#include "image/ImageListing.h"
#include "support/RecordingStatusPanels.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// The listing of the image holding 0x00, 0x01, ... 0xFF.
const char* const kEveryByteListing[] = {
    "0x00000\t0x00\t0x01\t0x02\t0x03\t0x04\t0x05\t0x06\t0x07\t"
    "0x08\t0x09\t0x0A\t0x0B\t0x0C\t0x0D\t0x0E\t0x0F\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
    "0x00010\t0x10\t0x11\t0x12\t0x13\t0x14\t0x15\t0x16\t0x17\t"
    "0x18\t0x19\t0x1A\t0x1B\t0x1C\t0x1D\t0x1E\t0x1F\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
    "0x00020\t0x20\t0x21\t0x22\t0x23\t0x24\t0x25\t0x26\t0x27\t"
    "0x28\t0x29\t0x2A\t0x2B\t0x2C\t0x2D\t0x2E\t0x2F\t"
    "\xA5!\xA5#$%&'()*+\xA5-./\r\n",
    "0x00030\t0x30\t0x31\t0x32\t0x33\t0x34\t0x35\t0x36\t0x37\t"
    "0x38\t0x39\t0x3A\t0x3B\t0x3C\t0x3D\t0x3E\t0x3F\t"
    "0123456789:;<=>?\r\n",
    "0x00040\t0x40\t0x41\t0x42\t0x43\t0x44\t0x45\t0x46\t0x47\t"
    "0x48\t0x49\t0x4A\t0x4B\t0x4C\t0x4D\t0x4E\t0x4F\t"
    "@ABCDEFGHIJKLMNO\r\n",
    "0x00050\t0x50\t0x51\t0x52\t0x53\t0x54\t0x55\t0x56\t0x57\t"
    "0x58\t0x59\t0x5A\t0x5B\t0x5C\t0x5D\t0x5E\t0x5F\t"
    "PQRSTUVWXYZ[\\]^_\r\n",
    "0x00060\t0x60\t0x61\t0x62\t0x63\t0x64\t0x65\t0x66\t0x67\t"
    "0x68\t0x69\t0x6A\t0x6B\t0x6C\t0x6D\t0x6E\t0x6F\t"
    "`abcdefghijklmno\r\n",
    "0x00070\t0x70\t0x71\t0x72\t0x73\t0x74\t0x75\t0x76\t0x77\t"
    "0x78\t0x79\t0x7A\t0x7B\t0x7C\t0x7D\t0x7E\t0x7F\t"
    "pqrstuvwxyz{|}~\x7F\r\n",
    "0x00080\t0x80\t0x81\t0x82\t0x83\t0x84\t0x85\t0x86\t0x87\t"
    "0x88\t0x89\t0x8A\t0x8B\t0x8C\t0x8D\t0x8E\t0x8F\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
    "0x00090\t0x90\t0x91\t0x92\t0x93\t0x94\t0x95\t0x96\t0x97\t"
    "0x98\t0x99\t0x9A\t0x9B\t0x9C\t0x9D\t0x9E\t0x9F\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
    "0x000A0\t0xA0\t0xA1\t0xA2\t0xA3\t0xA4\t0xA5\t0xA6\t0xA7\t"
    "0xA8\t0xA9\t0xAA\t0xAB\t0xAC\t0xAD\t0xAE\t0xAF\t"
    "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF\r\n",
    "0x000B0\t0xB0\t0xB1\t0xB2\t0xB3\t0xB4\t0xB5\t0xB6\t0xB7\t"
    "0xB8\t0xB9\t0xBA\t0xBB\t0xBC\t0xBD\t0xBE\t0xBF\t"
    "\xB0\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF\r\n",
    "0x000C0\t0xC0\t0xC1\t0xC2\t0xC3\t0xC4\t0xC5\t0xC6\t0xC7\t"
    "0xC8\t0xC9\t0xCA\t0xCB\t0xCC\t0xCD\t0xCE\t0xCF\t"
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\r\n",
    "0x000D0\t0xD0\t0xD1\t0xD2\t0xD3\t0xD4\t0xD5\t0xD6\t0xD7\t"
    "0xD8\t0xD9\t0xDA\t0xDB\t0xDC\t0xDD\t0xDE\t0xDF\t"
    "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\r\n",
    "0x000E0\t0xE0\t0xE1\t0xE2\t0xE3\t0xE4\t0xE5\t0xE6\t0xE7\t"
    "0xE8\t0xE9\t0xEA\t0xEB\t0xEC\t0xED\t0xEE\t0xEF\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
    "0x000F0\t0xF0\t0xF1\t0xF2\t0xF3\t0xF4\t0xF5\t0xF6\t0xF7\t"
    "0xF8\t0xF9\t0xFA\t0xFB\t0xFC\t0xFD\t0xFE\t0xFF\t"
    "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\r\n",
};

QByteArray everyByteImage()
{
    QByteArray image(256, '\0');
    for (int i = 0; i < 256; ++i) image[i] = static_cast<char>(i);
    return image;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class ListingTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteValue();
    void textRowOfAnImage();
    void replacesTheOldFile();
    void progress_data();
    void progress();
    void unwritableListingStillShowsProgress();
};

void ListingTest::everyByteValue()
{
    TestEnvironment environment;
    const QString path = environment.appFolder() + "temp.txt";
    RecordingStatusPanels panels;
    QVERIFY(ImageListing::write(everyByteImage(), path, panels));
    QByteArray expected;
    for (const char* line : kEveryByteListing) expected.append(line);
    QCOMPARE(readAll(path), expected);
}

void ListingTest::textRowOfAnImage()
{
    QByteArray image(32, '\xFF');
    const QByteArray text = "Hello, \"EEPROM\"!";
    image.replace(16, 16, text);
    QCOMPARE(ImageListing::line(image, 16),
             QByteArray("0x00010\t0x48\t0x65\t0x6C\t0x6C\t0x6F\t0x2C\t0x20\t0x22\t0x45\t0x45\t"
                        "0x50\t0x52\t0x4F\t0x4D\t0x22\t0x21\tHello\xA5\xA5\xA5"
                        "EEPROM\xA5!\r\n"));
}

void ListingTest::replacesTheOldFile()
{
    TestEnvironment environment;
    const QString path = environment.appFolder() + "temp.txt";
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4000, 'x'));
    }
    RecordingStatusPanels panels;
    QVERIFY(ImageListing::write(QByteArray(16, '\x41'), path, panels));
    QCOMPARE(readAll(path), QByteArray("0x00000\t" + QByteArray("0x41\t").repeated(16) +
                                       QByteArray(16, 'A') + "\r\n"));
}

void ListingTest::progress_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("16 bytes") << 16 << QStringList{"100%"};
    QTest::newRow("128 bytes") << 128 << QStringList{"12%", "24%", "37%", "50%",
                                                     "62%", "75%", "87%", "100%"};
    QTest::newRow("256 bytes") << 256 << QStringList{"6%",  "12%", "18%", "25%", "31%", "37%",
                                                     "44%", "50%", "56%", "62%", "69%", "75%",
                                                     "81%", "87%", "94%", "100%"};
    QStringList whole;
    for (int p = 1; p <= 100; ++p) whole.append(QString::number(p) + "%");
    QTest::newRow("131072 bytes: each percentage once") << 131072 << whole;
    QTest::newRow("no image") << 0 << QStringList{};
}

void ListingTest::progress()
{
    QFETCH(int, size);
    QFETCH(QStringList, expected);
    TestEnvironment environment;
    RecordingStatusPanels panels;
    QVERIFY(ImageListing::write(QByteArray(size, '\xFF'), environment.appFolder() + "temp.txt",
                                panels));
    QCOMPARE(panels.textsOf(3), expected);
    QCOMPARE(panels.history.size(), expected.size());
}

void ListingTest::unwritableListingStillShowsProgress()
{
    TestEnvironment environment;
    const QString path = environment.appFolder() + "temp.txt";
    QVERIFY(QDir().mkpath(path));  // a folder where the file should be
    RecordingStatusPanels panels;
    QVERIFY(!ImageListing::write(QByteArray(16, '\0'), path, panels));
    QCOMPARE(panels.textsOf(3), QStringList{"100%"});
}

QTEST_GUILESS_MAIN(ListingTest)
#include "tst_image_listing.moc"
