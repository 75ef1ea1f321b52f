#include "devices/AccessSizes.h"
#include "devices/CatalogueLoad.h"
#include "devices/DeviceCatalogue.h"
#include "devices/EnduranceCycles.h"
#include "devices/PartSizeCheck.h"
#include "devices/SelectedDevice.h"
#include "devices/gui/DeviceTexts.h"
#include "support/TestEnvironment.h"
#include "ui/ProgramTranslations.h"

#include <QtTest>

namespace {

DeviceRecord recordOf(const char* line) { return DeviceRecord(QString::fromUtf8(line).split(' ')); }

SelectedDevice deviceOf(const char* line)
{
    SelectedDevice device;
    if (!SelectedDevice::fromRecord(recordOf(line), device)) qFatal("unusable test row");
    return device;
}

}  // namespace

class DeviceCatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void listLineKeepsNameAndTextApart_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("listLine");
        QTest::newRow("short name") << "24C02 2Kbit"
                                    << "24C02    2Kbit";
        QTest::newRow("eight characters") << "AT24C02A 2Kbit"
                                          << "AT24C02A 2Kbit";
        QTest::newRow("nine characters") << "AT24C1024 1Mbit"
                                         << "AT24C1024 1Mbit";
        QTest::newRow("ten characters") << "AT24C1024X 1Mbit"
                                        << "AT24C1024X 1Mbit";
        QTest::newRow("no list text") << "24C02"
                                      << "24C02    ";
        QTest::newRow("nine, no list text") << "AT24C1024"
                                            << "AT24C1024 ";
    }
    void listLineKeepsNameAndTextApart()
    {
        QFETCH(QString, line);
        QFETCH(QString, listLine);
        QCOMPARE(DeviceRecord(line.split(' ')).listLine(), listLine);
    }

    void i2cLabelsShowMemoryAndPageSize()
    {
        const char* line = "24C01 1Kbit 2 7 8 0 0 note 1.8-5.5V 1M 1Kbit 5ms 400kHz";
        const SelectedDevice device = deviceOf(line);
        QCOMPARE(pageSizeLabelText(device),
                 QString::fromUtf8("　Mem. Size: 128 byte\r\n　Page Size: 8 byte"));
        QCOMPARE(specLineText(device, recordOf(line), UiLanguage::Japanese),
                 QStringLiteral("VDD:1.8-5.5V Endurance:1M Density:1Kbit WriteSpeed:5ms "
                                "ClockSpeed:400kHz "));
        QCOMPARE(device.StatusNote, QStringLiteral("note"));
    }

    void microwireLabelShowsMemoryOnly()
    {
        const SelectedDevice device = deviceOf("AT93C46 1Kbit 3 7 1 0 7");
        QCOMPARE(pageSizeLabelText(device), QString::fromUtf8("　Mem. Size: 128 byte"));
        QCOMPARE(device.MicrowireParam, 7);
    }

    void shortRowsShowNothingBetweenTheLabels()
    {
        const char* line = "X x 3 7 1 0 7";
        QCOMPARE(specLineText(deviceOf(line), recordOf(line), UiLanguage::English),
                 QStringLiteral("VDD: Endurance: Density: WriteSpeed: ClockSpeed: "));
    }

    void otherFamiliesLeaveTheLabelsEmpty()
    {
        const char* line = "X x 4 7 8 0 0 n 5V";
        const SelectedDevice device = deviceOf(line);
        QCOMPARE(pageSizeLabelText(device), QString());
        QCOMPARE(specLineText(device, recordOf(line), UiLanguage::Japanese), QString());
        QVERIFY(::accessSizes(device).isEmpty());
    }

    void accessSizes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::newRow("I2C page 8, 128 bytes") << "X x 2 7 8" << QList<qint64>{8, 16, 32, 64, 128};
        QTest::newRow("I2C page 1 starts at 2") << "X x 2 4 1" << QList<qint64>{2, 4, 8, 16};
        QTest::newRow("I2C page 6 ends above the part")
            << "X x 2 7 6" << QList<qint64>{6, 12, 24, 48, 96, 192};
        QTest::newRow("I2C page 256 on 128 KiB")
            << "X x 2 17 256"
            << QList<qint64>{256, 512, 1024, 2048, 4096, 8192, 16384, 32768, 65536, 131072};
        QTest::newRow("Microwire 128 bytes") << "X x 3 7 1" << QList<qint64>{64, 128};
        QTest::newRow("Microwire 2048 bytes")
            << "X x 3 11 1" << QList<qint64>{64, 128, 256, 512, 1024, 2048};
        QTest::newRow("Microwire 32 bytes offers nothing") << "X x 3 5 1" << QList<qint64>{};
        QTest::newRow("page 0 counts as 1") << "X x 2 4 0" << QList<qint64>{2, 4, 8, 16};
        QTest::newRow("page 3 rounds to 2") << "X x 2 4 3" << QList<qint64>{4, 8, 16};
        QTest::newRow("page 5 rounds half to even") << "X x 2 4 5" << QList<qint64>{4, 8, 16};
    }
    void accessSizes()
    {
        QFETCH(QString, line);
        QFETCH(QList<qint64>, sizes);
        QCOMPARE(::accessSizes(deviceOf(line.toUtf8().constData())), sizes);
    }

    void numericFieldsRoundHalfToEven()
    {
        const SelectedDevice device = deviceOf("X x 2.4 7.5 8.5 2 6.5");
        QCOMPARE(device.Family, BusFamily::I2c);
        QCOMPARE(device.SizeExponent, 8);
        QCOMPARE(device.PageSize, 8);
        QCOMPARE(device.MicrowireParam, 6);
        QCOMPARE(device.memorySize(), 256);
    }

    void unusableRowsAreRefusedWithAReason_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("size below 16 bytes")
            << "X x 2 3 8"
            << QString::fromUtf8("サイズ指数 3 は扱えません（4 ～ 17、16 ～ 131072 バイト）。");
        QTest::newRow("size above 1 Mbit")
            << "X x 2 18 8"
            << QString::fromUtf8("サイズ指数 18 は扱えません（4 ～ 17、16 ～ 131072 バイト）。");
        QTest::newRow("missing size")
            << "X x 2"
            << QString::fromUtf8("サイズ指数 0 は扱えません（4 ～ 17、16 ～ 131072 バイト）。");
        QTest::newRow("family not a number")
            << "X x two 7 8" << QString::fromUtf8("ファミリ の値「two」が数値ではありません。");
        QTest::newRow("page size not a number")
            << "X x 2 7 8byte"
            << QString::fromUtf8("ページサイズ の値「8byte」が数値ではありません。");
        QTest::newRow("parameter out of range")
            << "X x 2 7 8 0 99999999999"
            << QString::fromUtf8("マイクロワイヤ設定 の値「99999999999」が数値ではありません。");
    }
    void unusableRowsAreRefusedWithAReason()
    {
        QFETCH(QString, line);
        QFETCH(QString, text);
        SelectedDevice device;
        device.Family = static_cast<BusFamily>(42);
        DeviceRowProblem problem;
        QVERIFY(!SelectedDevice::fromRecord(DeviceRecord(line.split(' ')), device, &problem));
        QCOMPARE(rowProblemText(problem), text);
        QCOMPARE(device.Family, static_cast<BusFamily>(42));
    }

    void enduranceCycles_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<qint64>("cycles");  // -1: not a number of cycles
        QTest::newRow("million") << QString::fromUtf8("100万回") << qint64{1000000};
        QTest::newRow("hundred thousand") << QString::fromUtf8("10万回") << qint64{100000};
        QTest::newRow("plain") << QString::fromUtf8("500000回") << qint64{500000};
        QTest::newRow("hundred million") << QString::fromUtf8("1億回") << qint64{100000000};
        QTest::newRow("without 回") << QString::fromUtf8("100万") << qint64{1000000};
        QTest::newRow("other words") << QStringLiteral("1M") << qint64{-1};
        QTest::newRow("unit only") << QString::fromUtf8("万回") << qint64{-1};
        QTest::newRow("empty") << QString() << qint64{-1};
    }
    void enduranceCycles()
    {
        QFETCH(QString, word);
        QFETCH(qint64, cycles);
        QCOMPARE(::enduranceCycles(word).value_or(-1), cycles);
    }

    // In English the part's notes are worded from its numbers; in Japanese they are the data
    // file's own.
    void englishWordsForThePart_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("endurance");
        QTest::newRow("24C00") << "24C00"
                               << "I2C, 16 bytes, byte writes only"
                               << "Endurance:1,000,000 cycles ";
        QTest::newRow("24C04") << "24C04"
                               << "I2C, 512 bytes, 16-byte pages"
                               << "Endurance:1,000,000 cycles ";
        QTest::newRow("24C64") << "24C64"
                               << "I2C, 8,192 bytes, 32-byte pages, 2-byte addresses"
                               << "Endurance:1,000,000 cycles ";
        QTest::newRow("AT24C1024")
            << "AT24C1024"
            << "I2C, 131,072 bytes, 256-byte pages, A16 in the device address"
            << "Endurance:100,000 cycles ";
        QTest::newRow("AT93C46") << "AT93C46"
                                 << "Microwire, 128 bytes, x8 organisation (ORG pin to GND)"
                                 << "Endurance:1,000,000 cycles ";
    }
    void englishWordsForThePart()
    {
        QFETCH(QString, part);
        QFETCH(QString, note);
        QFETCH(QString, endurance);
        const TestEnvironment environment;
        environment.copyTranslations();
        const CatalogueLoad load = loadCatalogue(QStringLiteral(VORLE_DATA_FILE));
        const DeviceRecord& record = load.catalogue.record(load.catalogue.indexOf(part));
        SelectedDevice device;
        QVERIFY(SelectedDevice::fromRecord(record, device));

        QCOMPARE(statusNoteText(device, UiLanguage::Japanese),
                 record.field(DeviceRecord::StatusNote));
        QVERIFY(
            specLineText(device, record, UiLanguage::Japanese)
                .contains(QStringLiteral("Endurance:") + record.field(DeviceRecord::Endurance)));
        ProgramTranslations translations;
        QVERIFY(translations.install(UiLanguage::English, environment.appFolder()));
        QCOMPARE(statusNoteText(device, UiLanguage::English), note);
        QVERIFY2(specLineText(device, record, UiLanguage::English).contains(endurance),
                 qPrintable(specLineText(device, record, UiLanguage::English)));
    }

    // A file larger than the part, or smaller by more than a page, does not fit it; the parts
    // it does fit are named from the catalogue.
    void partSizeCheck_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<qint64>("fileBytes");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QStringList>("fitting");  // the parts a file of fileBytes fits
        const QStringList of256{"24C02", "AT24C02", "AT24C02A"};
        QTest::newRow("same size") << "24C02" << qint64{256} << true << of256;
        QTest::newRow("a page short") << "24C02" << qint64{248} << true << of256;
        QTest::newRow("more than a page short") << "24C02" << qint64{247} << false << QStringList{};
        QTest::newRow("larger") << "24C02" << qint64{512} << false
                                << QStringList{"24C04", "AT24C04", "AT24C04A", "AT93C66"};
        QTest::newRow("a Microwire page is one byte")
            << "AT93C46" << qint64{126} << false << QStringList{"24C01", "AT24C01A"};
        QTest::newRow("no data") << "24C02" << qint64{0} << true << QStringList{};
    }
    void partSizeCheck()
    {
        QFETCH(QString, part);
        QFETCH(qint64, fileBytes);
        QFETCH(bool, fits);
        QFETCH(QStringList, fitting);
        const CatalogueLoad load = loadCatalogue(QStringLiteral(VORLE_DATA_FILE));
        SelectedDevice device;
        QVERIFY(SelectedDevice::fromRecord(load.catalogue.record(load.catalogue.indexOf(part)),
                                           device));
        const std::optional<PartSizeMismatch> mismatch = partSizeMismatch(fileBytes, device);
        QCOMPARE(!mismatch, fits);
        if (mismatch) {
            QCOMPARE(mismatch->fileBytes, fileBytes);
            QCOMPARE(mismatch->partBytes, device.memorySize());
        }
        if (fileBytes > 0) QCOMPARE(partsFitting(load.catalogue, fileBytes), fitting);
    }

    void catalogueKeepsFileOrder()
    {
        const DeviceCatalogue catalogue({{"A", "1"}, {"B"}, {"A", "2"}});
        QCOMPARE(catalogue.size(), 3);
        QCOMPARE(catalogue.record(1).field(DeviceRecord::ListName), QStringLiteral("B"));
        QCOMPARE(catalogue.record(1).field(DeviceRecord::ListText), QString());
        QCOMPARE(catalogue.record(1).field(19), QString());
        QCOMPARE(catalogue.indexOf("A"), 0);
        QCOMPARE(catalogue.indexOf("C"), -1);
    }
};

QTEST_MAIN(DeviceCatalogueTest)
#include "tst_device_catalogue.moc"
