// Self-check of the data file the program ships: every row describes a usable part.
#include "base/DataFileReader.h"
#include "devices/AccessSizes.h"
#include "devices/DeviceCatalogue.h"
#include "devices/EnduranceCycles.h"
#include "devices/SelectedDevice.h"

#include <QFile>
#include <QSet>
#include <QtTest>

class ShippedDataFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QFile file(QStringLiteral(VORLE_DATA_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_bytes = file.readAll();
        const auto contents = readDataFile(QStringLiteral(VORLE_DATA_FILE));
        QVERIFY(contents.has_value());
        QVERIFY(!contents->hasProblems());
        m_version = contents->version;
        m_catalogue = DeviceCatalogue(contents->rows);
    }

    void isShiftJisWithCrLfLineEnds()
    {
        QVERIFY(!m_bytes.isEmpty());
        QCOMPARE(m_bytes.count("\r\n"), m_bytes.count('\n'));
        QStringDecoder decoder("Shift_JIS", QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(m_bytes);
        QVERIFY(!decoder.hasError());
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

    // The caption and the about window put "vorle6.ini" before the version line themselves.
    void versionLineDoesNotNameTheFile()
    {
        QVERIFY(m_version.startsWith(QStringLiteral("Ver 1.00 ")));
        QVERIFY(!m_version.contains(QStringLiteral("vorle6.ini")));
    }

    void coversEveryPartTheProgramNames()
    {
        const QStringList names = {
            "24C00",     "24C01",    "24C02",    "24C04",    "24C08",    "24C16",    "24C32",
            "24C64",     "24C128",   "24C256",   "24C512",   "24C1024",  "AT24C01A", "AT24C02",
            "AT24C02A",  "AT24C04",  "AT24C04A", "AT24C08",  "AT24C08A", "AT24C16",  "AT24C16A",
            "AT24C32",   "AT24C32A", "AT24C64",  "AT24C64A", "AT24C128", "AT24C256", "AT24C512",
            "AT24C1024", "AT93C46",  "AT93C66",  "AT93C86"};
        for (const QString& name : names)
            QVERIFY2(m_catalogue.indexOf(name) >= 0, qPrintable(name));
    }

    void everyRowIsAUsablePart()
    {
        QSet<QString> seen;
        for (int i = 0; i < m_catalogue.size(); ++i) {
            const DeviceRecord& record = m_catalogue.record(i);
            const QString name = record.field(DeviceRecord::ListName);
            QVERIFY2(!seen.contains(name), qPrintable("duplicate " + name));
            seen.insert(name);

            SelectedDevice device;
            QVERIFY2(SelectedDevice::fromRecord(record, device), qPrintable(name));
            QVERIFY2(isKnownBus(device.Family), qPrintable(name));
            QVERIFY2(device.PageSize >= 1 && (device.PageSize & (device.PageSize - 1)) == 0,
                     qPrintable(name));
            QVERIFY2(device.PageSize <= device.memorySize(), qPrintable(name));
            QVERIFY2(!accessSizes(device).isEmpty(), qPrintable(name));
            QCOMPARE(accessSizes(device).last(), device.memorySize());
            QVERIFY2(!device.StatusNote.isEmpty(), qPrintable(name));
            QVERIFY2(!record.field(DeviceRecord::ClockSpeed).isEmpty(), qPrintable(name));
            // The English window words the endurance from its number.
            QVERIFY2(enduranceCycles(record.field(DeviceRecord::Endurance)).has_value(),
                     qPrintable(name));
            if (device.Family == BusFamily::I2c) {
                QVERIFY2(device.CommandVariant >= 0 && device.CommandVariant <= 2,
                         qPrintable(name));
                // Two-byte word addresses from 4 KiB up; one byte with block bits below.
                QCOMPARE(device.CommandVariant == 2, device.memorySize() > 2048);
                QCOMPARE(device.MicrowireParam, 0);
            } else {
                // The 93Cxx address width in x8 organisation.
                QCOMPARE(qint64{1} << device.MicrowireParam, device.memorySize());
            }
        }
    }

private:
    QByteArray m_bytes;
    QString m_version;
    DeviceCatalogue m_catalogue;
};

QTEST_GUILESS_MAIN(ShippedDataFileTest)
#include "tst_shipped_data_file.moc"
