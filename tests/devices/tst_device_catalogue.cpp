#include "devices/DeviceCatalogue.h"
#include "devices/DeviceTexts.h"
#include "devices/SelectedDevice.h"

#include <QtTest>

namespace {

DeviceRecord recordOf(const char* line) { return DeviceRecord(QString::fromUtf8(line).split(' ')); }

SelectedDevice deviceOf(const char* line)
{
    SelectedDevice device;
    QString problem;
    if (!SelectedDevice::fromRecord(recordOf(line), device, problem)) qFatal("unusable test row");
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
        QCOMPARE(specLineText(device, recordOf(line)),
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
        QCOMPARE(specLineText(deviceOf(line), recordOf(line)),
                 QStringLiteral("VDD: Endurance: Density: WriteSpeed: ClockSpeed: "));
    }

    void otherFamiliesLeaveTheLabelsEmpty()
    {
        const char* line = "X x 4 7 8 0 0 n 5V";
        const SelectedDevice device = deviceOf(line);
        QCOMPARE(pageSizeLabelText(device), QString());
        QCOMPARE(specLineText(device, recordOf(line)), QString());
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
        QCOMPARE(device.Family, 2);
        QCOMPARE(device.SizeExponent, 8);
        QCOMPARE(device.PageSize, 8);
        QCOMPARE(device.MicrowireParam, 6);
        QCOMPARE(device.memorySize(), 256);
    }

    void unusableRowsAreRefusedWithAReason_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("size below 16 bytes") << "X x 2 3 8"
                                             << "3";
        QTest::newRow("size above 1 Mbit") << "X x 2 18 8"
                                           << "18";
        QTest::newRow("missing size") << "X x 2"
                                      << "0";
        QTest::newRow("family not a number") << "X x two 7 8"
                                             << "two";
        QTest::newRow("page size not a number") << "X x 2 7 8byte"
                                                << "8byte";
        QTest::newRow("parameter out of range") << "X x 2 7 8 0 99999999999"
                                                << "99999999999";
    }
    void unusableRowsAreRefusedWithAReason()
    {
        QFETCH(QString, line);
        QFETCH(QString, mentions);
        SelectedDevice device;
        device.Family = 42;
        QString problem;
        QVERIFY(!SelectedDevice::fromRecord(DeviceRecord(line.split(' ')), device, problem));
        QVERIFY2(problem.contains(mentions), qPrintable(problem));
        QCOMPARE(device.Family, 42);
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

QTEST_GUILESS_MAIN(DeviceCatalogueTest)
#include "tst_device_catalogue.moc"
