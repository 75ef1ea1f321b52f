#pragma once

#include <QString>
#include <QStringList>

// One row of the device catalogue: twenty text fields from the words of one data-file item.
// A field the item had no word for is empty.
class DeviceRecord {
public:
    static constexpr int kFieldCount = 20;

    enum Field {
        ListName = 0,
        ListText = 1,
        Family = 2,
        SizeExponent = 3,
        PageSize = 4,
        CommandVariant = 5,
        MicrowireParam = 6,
        StatusNote = 7,
        Vdd = 8,
        Endurance = 9,
        Density = 10,
        WriteSpeed = 11,
        ClockSpeed = 12,
    };

    DeviceRecord() = default;
    explicit DeviceRecord(const QStringList& words);

    [[nodiscard]] QString field(int index) const;

    // The device list line: the name padded with blanks to nine characters (a longer name
    // followed by one blank), then the list text.
    [[nodiscard]] QString listLine() const;

private:
    QStringList m_fields;
};
