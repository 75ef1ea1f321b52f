#pragma once

#include "devices/BusFamily.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

class DeviceRecord;

// Why a catalogue row cannot describe a part, for each front-end to word.
struct DeviceRowProblem {
    enum class Kind {
        None,
        NotANumber,      // `field` holds `word`, which is not a number
        SizeOutOfRange,  // the size exponent `sizeExponent` lies outside 4 to 17
    };

    Kind kind = Kind::None;
    int field = -1;  // a DeviceRecord::Field
    QString word;
    std::int32_t sizeExponent = 0;
};

// The parameters of the selected device, copied from its catalogue row when it is selected.
struct SelectedDevice {
    static constexpr int kMinSizeExponent = 4;   // 16 bytes: one grid row
    static constexpr int kMaxSizeExponent = 17;  // 131,072 bytes: the 1 Mbit parts

    BusFamily Family = BusFamily{0};
    std::int32_t SizeExponent = 0;
    std::int32_t PageSize = 0;
    std::int32_t CommandVariant = 0;
    std::int32_t MicrowireParam = 0;
    QString StatusNote;
    // How long the part takes to program one page (I2C) or one byte (Microwire): the data
    // file's write time, or the longest the shipped parts take when the row names none.
    std::chrono::microseconds WriteTime = kLongestWriteTime;

    static constexpr std::chrono::microseconds kLongestWriteTime{10000};

    // 2^SizeExponent bytes.
    [[nodiscard]] qint64 memorySize() const { return qint64{1} << SizeExponent; }
    [[nodiscard]] bool isMicrowire() const { return Family == BusFamily::Microwire; }

    // Reads the numeric fields of `record`. When a field is not a number, or the size lies
    // outside 16 to 131,072 bytes, the row cannot be used: `problem` (when given) says why and
    // `device` is left as it was.
    [[nodiscard]] static bool fromRecord(const DeviceRecord& record, SelectedDevice& device,
                                         DeviceRowProblem* problem = nullptr);
    // A data-file write time: "5ms", "2.5ms"; nothing for any other word.
    [[nodiscard]] static std::optional<std::chrono::microseconds> writeTimeOf(const QString& word);
};
