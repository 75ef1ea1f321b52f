#include "devices/SelectedDevice.h"

#include "base/NumberText.h"
#include "devices/DeviceRecord.h"

bool SelectedDevice::fromRecord(const DeviceRecord& record, SelectedDevice& device,
                                QString& problem)
{
    static const struct {
        int field;
        std::int32_t SelectedDevice::*member;
        const char* name;
    } numericFields[] = {
        {DeviceRecord::Family, &SelectedDevice::Family, "ファミリ"},
        {DeviceRecord::SizeExponent, &SelectedDevice::SizeExponent, "サイズ指数"},
        {DeviceRecord::PageSize, &SelectedDevice::PageSize, "ページサイズ"},
        {DeviceRecord::CommandVariant, &SelectedDevice::CommandVariant, "コマンド種別"},
        {DeviceRecord::MicrowireParam, &SelectedDevice::MicrowireParam, "マイクロワイヤ設定"},
    };

    SelectedDevice result;
    for (const auto& numeric : numericFields) {
        const QString word = record.field(numeric.field);
        const auto value = parseInt32Field(word);
        if (!value) {
            problem = QStringLiteral("%1 の値「%2」が数値ではありません。")
                          .arg(QString::fromUtf8(numeric.name), word);
            return false;
        }
        result.*numeric.member = *value;
    }
    if (result.SizeExponent < kMinSizeExponent || result.SizeExponent > kMaxSizeExponent) {
        problem = QStringLiteral("サイズ指数 %1 は扱えません（%2 ～ %3、16 ～ 131072 バイト）。")
                      .arg(result.SizeExponent)
                      .arg(kMinSizeExponent)
                      .arg(kMaxSizeExponent);
        return false;
    }
    result.StatusNote = record.field(DeviceRecord::StatusNote);
    device = result;
    return true;
}
