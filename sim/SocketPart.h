#pragma once

#include <QString>

#include <chrono>
#include <optional>

// The EEPROM in the emulated socket. Its family, size and page size follow the data file's
// conventions: family 2 = I2C (24Cxx), 3 = Microwire (93Cxx, x8, as many address bits as the
// size exponent); page size in bytes (1 for Microwire and byte-write-only parts).
struct SocketPart {
    QString name;
    int family = 2;
    int sizeExponent = 8;
    int pageSize = 8;
    // Programming time of one page (I2C) or one byte (Microwire): the data file's write time
    // (SelectedDevice::WriteTime).
    std::chrono::microseconds writeCycle{5000};

    [[nodiscard]] qint64 size() const { return qint64{1} << sizeExponent; }

    // The row `name` of the data file at `dataFile`; nothing with `error` set when the file or
    // the row cannot be used.
    [[nodiscard]] static std::optional<SocketPart> fromDataFile(const QString& dataFile,
                                                                const QString& name,
                                                                QString* error);

    // A part described by its geometry; `pageSize` 0 picks the usual page of that size.
    [[nodiscard]] static std::optional<SocketPart> fromGeometry(int family, int sizeExponent,
                                                                int pageSize, QString* error);
};
