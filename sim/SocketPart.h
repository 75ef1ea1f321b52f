#pragma once

#include "devices/BusFamily.h"

#include <QString>

#include <chrono>
#include <optional>

// The EEPROM in the emulated socket. Its bus, size and page size follow the data file's
// conventions: I2C (24Cxx) or Microwire (93Cxx, x8, as many address bits as the size
// exponent); page size in bytes (1 for Microwire and byte-write-only parts).
struct SocketPart {
    QString name;
    BusFamily family = BusFamily::I2c;
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

    // A part described by its geometry, `family` numbered as the data file numbers the buses;
    // `pageSize` 0 picks the usual page of that size.
    [[nodiscard]] static std::optional<SocketPart> fromGeometry(int family, int sizeExponent,
                                                                int pageSize, QString* error);
};
