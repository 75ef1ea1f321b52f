#include "devices/SelectedDevice.h"

#include "base/NumberText.h"
#include "devices/DeviceRecord.h"

#include <QRegularExpression>

bool SelectedDevice::fromRecord(const DeviceRecord& record, SelectedDevice& device,
                                DeviceRowProblem* problem)
{
    static const struct {
        int field;
        std::int32_t SelectedDevice::*member;
    } numericFields[] = {
        {DeviceRecord::SizeExponent, &SelectedDevice::SizeExponent},
        {DeviceRecord::PageSize, &SelectedDevice::PageSize},
        {DeviceRecord::CommandVariant, &SelectedDevice::CommandVariant},
        {DeviceRecord::MicrowireParam, &SelectedDevice::MicrowireParam},
    };

    DeviceRowProblem found;
    const auto number = [&](int field) {
        const QString word = record.field(field);
        const std::optional<std::int32_t> value = parseInt32Field(word);
        if (!value) {
            found.kind = DeviceRowProblem::Kind::NotANumber;
            found.field = field;
            found.word = word;
            if (problem) *problem = found;
        }
        return value;
    };
    SelectedDevice result;
    // The data file numbers the bus as the board does; an unknown number stays as it is.
    const std::optional<std::int32_t> family = number(DeviceRecord::Family);
    if (!family) return false;
    result.Family = static_cast<BusFamily>(*family);
    for (const auto& numeric : numericFields) {
        const std::optional<std::int32_t> value = number(numeric.field);
        if (!value) return false;
        result.*numeric.member = *value;
    }
    if (result.SizeExponent < kMinSizeExponent || result.SizeExponent > kMaxSizeExponent) {
        found.kind = DeviceRowProblem::Kind::SizeOutOfRange;
        found.sizeExponent = result.SizeExponent;
        if (problem) *problem = found;
        return false;
    }
    result.StatusNote = record.field(DeviceRecord::StatusNote);
    result.WriteTime =
        writeTimeOf(record.field(DeviceRecord::WriteSpeed)).value_or(kLongestWriteTime);
    device = result;
    return true;
}

std::optional<std::chrono::microseconds> SelectedDevice::writeTimeOf(const QString& word)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d+(?:\.\d+)?)ms$)"));
    const auto match = pattern.match(word.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    return std::chrono::microseconds{static_cast<qint64>(match.captured(1).toDouble() * 1000)};
}
