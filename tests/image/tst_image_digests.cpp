// CRC-32 and SHA-256 of byte runs against published values, and the 16-bit sum.
#include "image/CheckSum.h"
#include "image/ImageDigests.h"

#include <QTest>

namespace {

// 1,000 bytes that are neither blank nor repeating: (i * 7 + 3) mod 256.
QByteArray steps()
{
    QByteArray bytes(1000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
    return bytes;
}

}  // namespace

class ImageDigestsTest : public QObject {
    Q_OBJECT
private slots:
    void digests_data();
    void digests();
    void crcInPieces();
};

void ImageDigestsTest::digests_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("crc");
    QTest::addColumn<QByteArray>("sha256");  // hexadecimal; empty: not checked
    QTest::addColumn<int>("sum16");
    QTest::newRow("nothing")
        << QByteArray() << quint32{0}
        << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855") << 0;
    QTest::newRow("check value") << QByteArray("123456789") << quint32{0xCBF43926} << QByteArray()
                                 << 0x01DD;
    QTest::newRow("abc") << QByteArray("abc") << quint32{0x352441C2}
                         << QByteArray(
                                "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad")
                         << 0x0126;
    QTest::newRow("fox") << QByteArray("The quick brown fox jumps over the lazy dog")
                         << quint32{0x414FA339} << QByteArray() << 0x0FD9;
    QTest::newRow("32 zeros") << QByteArray(32, '\0') << quint32{0x190A55AD} << QByteArray() << 0;
    QTest::newRow("blank 1 Mbit part")
        << QByteArray(131072, '\xFF') << quint32{0x154803CC}
        << QByteArray("b5a41c3758763bbec72769fab4a2533bf2db0b6312d93d25a695f9e4b9e02260")
        << 0xFE0000 % 0x10000;
    QTest::newRow("1,000 steps") << steps() << quint32{0x17BC2A46} << QByteArray() << -1;
}

void ImageDigestsTest::digests()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, crc);
    QFETCH(QByteArray, sha256);
    QFETCH(int, sum16);
    QCOMPARE(ImageDigests::crc32(bytes), crc);
    if (!sha256.isEmpty()) QCOMPARE(ImageDigests::sha256(bytes).toHex(), sha256);
    if (sum16 >= 0) QCOMPARE(int(byteSum16(bytes)), sum16);
}

// Any cut gives the same CRC-32 as the whole, whichever way the pieces fall against the
// eight-byte steps.
void ImageDigestsTest::crcInPieces()
{
    const QByteArray bytes = steps();
    for (const int cut : {0, 1, 7, 8, 9, 500, 999, 1000}) {
        const quint32 first = ImageDigests::crc32(QByteArrayView(bytes).first(cut));
        QCOMPARE(ImageDigests::crc32(QByteArrayView(bytes).sliced(cut), first),
                 quint32{0x17BC2A46});
    }
}

QTEST_GUILESS_MAIN(ImageDigestsTest)
#include "tst_image_digests.moc"
