#include "devices/SelectedDevice.h"

#include "base/NumberText.h"
#include "devices/DeviceRecord.h"

#include <QCoreApplication>
#include <QRegularExpression>

bool SelectedDevice::fromRecord(const DeviceRecord& record, SelectedDevice& device,
                                QString& problem)
{
    static const struct {
        int field;
        std::int32_t SelectedDevice::*member;
        const char* name;
    } numericFields[] = {
        {DeviceRecord::Family, &SelectedDevice::Family,
         QT_TRANSLATE_NOOP("SelectedDevice", "ファミリ")},
        {DeviceRecord::SizeExponent, &SelectedDevice::SizeExponent,
         QT_TRANSLATE_NOOP("SelectedDevice", "サイズ指数")},
        {DeviceRecord::PageSize, &SelectedDevice::PageSize,
         QT_TRANSLATE_NOOP("SelectedDevice", "ページサイズ")},
        {DeviceRecord::CommandVariant, &SelectedDevice::CommandVariant,
         QT_TRANSLATE_NOOP("SelectedDevice", "コマンド種別")},
        {DeviceRecord::MicrowireParam, &SelectedDevice::MicrowireParam,
         QT_TRANSLATE_NOOP("SelectedDevice", "マイクロワイヤ設定")},
    };

    SelectedDevice result;
    for (const auto& numeric : numericFields) {
        const QString word = record.field(numeric.field);
        const auto value = parseInt32Field(word);
        if (!value) {
            problem =
                QCoreApplication::translate("SelectedDevice", "%1 の値「%2」が数値ではありません。")
                    .arg(QCoreApplication::translate("SelectedDevice", numeric.name), word);
            return false;
        }
        result.*numeric.member = *value;
    }
    if (result.SizeExponent < kMinSizeExponent || result.SizeExponent > kMaxSizeExponent) {
        problem =
            QCoreApplication::translate(
                "SelectedDevice", "サイズ指数 %1 は扱えません（%2 ～ %3、16 ～ 131072 バイト）。")
                .arg(result.SizeExponent)
                .arg(kMinSizeExponent)
                .arg(kMaxSizeExponent);
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
