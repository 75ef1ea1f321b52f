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
        {DeviceRecord::Family, &SelectedDevice::Family},
        {DeviceRecord::SizeExponent, &SelectedDevice::SizeExponent},
        {DeviceRecord::PageSize, &SelectedDevice::PageSize},
        {DeviceRecord::CommandVariant, &SelectedDevice::CommandVariant},
        {DeviceRecord::MicrowireParam, &SelectedDevice::MicrowireParam},
    };

    DeviceRowProblem found;
    SelectedDevice result;
    for (const auto& numeric : numericFields) {
        const QString word = record.field(numeric.field);
        const auto value = parseInt32Field(word);
        if (!value) {
            found.kind = DeviceRowProblem::Kind::NotANumber;
            found.field = numeric.field;
            found.word = word;
            if (problem) *problem = found;
            return false;
        }
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
