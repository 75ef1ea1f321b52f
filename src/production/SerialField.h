#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// How a serial value is laid into the chip's bytes.
enum class SerialFormat {
    Decimal,   // ASCII digits, zero-padded on the left to the length
    Hex,       // ASCII upper-case hexadecimal digits, zero-padded to the length
    BinaryLe,  // the number in `length` bytes, least significant first
    BinaryBe,  // the number in `length` bytes, most significant first
    Bcd,       // packed BCD, two digits a byte, most significant first
    Mac,       // a MAC address: the fixed prefix, the counter in the bytes after it
    Csv,       // texts taken in order from a column of a CSV file
};

// "decimal", "hex", "binary-le", "binary-be", "bcd", "mac", "csv": the job file's words.
[[nodiscard]] QString serialFormatName(SerialFormat format);
[[nodiscard]] std::optional<SerialFormat> serialFormatNamed(const QString& name);

// One serial field of a job: where in the image each chip's own value goes and which values
// it takes. Every value from `start` to `last` fits the field (a job whose last value does not
// is refused when read), so encoding an allocated value cannot fail for lack of room.
struct SerialField {
    // A MAC address written as text: "02:00:5E:00:00:01" (17 bytes) or "02005E000001" (12).
    static constexpr int kMacBytes = 6;
    static constexpr int kMacHexLength = 12;
    static constexpr int kMacTextLength = 17;

    QString name;
    QString series;  // the numbers this field draws from; jobs sharing a series never repeat one
    qint64 address = 0;
    int length = 0;
    SerialFormat format = SerialFormat::Decimal;
    qint64 start = 0;  // numeric formats and mac (the counter after the prefix)
    qint64 step = 1;
    qint64 last = 0;
    QByteArray macPrefix;   // mac: the fixed leading bytes (1 to 5)
    QString csvPath;        // csv: the file, as the job file gives it
    QString csvColumn;      // csv: a header name, or a column number from 1
    QStringList csvValues;  // csv: the column's values, in file order

    [[nodiscard]] bool fromCsv() const { return format == SerialFormat::Csv; }
    // The largest number the field can hold (-1 when its length or prefix holds none); for
    // csv, the index of the file's last value.
    [[nodiscard]] qint64 largestValue() const;
    // The bytes for `number` (a csv field takes the text `csvText` instead); nothing when the
    // value does not fit the field.
    [[nodiscard]] std::optional<QByteArray> encode(qint64 number,
                                                   const QString& csvText = {}) const;
    // The value as the log shows it: the text written for decimal, hex and csv, the decimal
    // number for binary, the digits for bcd, "02:00:5E:00:00:01" for mac.
    [[nodiscard]] QString displayText(qint64 number, const QString& csvText = {}) const;
};
