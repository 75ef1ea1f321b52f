#include "devices/gui/DeviceTexts.h"

#include "base/DataFileReader.h"
#include "devices/CatalogueLoad.h"
#include "devices/DeviceRecord.h"
#include "devices/EnduranceCycles.h"
#include "devices/SelectedDevice.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

// Numbers in the English texts are grouped by thousands: "131,072".
QString groupedNumber(qint64 number) { return QLocale(QLocale::English).toString(number); }

QString enduranceText(const QString& word, UiLanguage language)
{
    if (language == UiLanguage::Japanese) return word;
    const std::optional<qint64> cycles = enduranceCycles(word);
    if (!cycles) return word;
    return QCoreApplication::translate("DeviceTexts", "%1 回").arg(groupedNumber(*cycles));
}

QString fieldName(int field)
{
    switch (field) {
        case DeviceRecord::Family:
            return QCoreApplication::translate("SelectedDevice", "ファミリ");
        case DeviceRecord::SizeExponent:
            return QCoreApplication::translate("SelectedDevice", "サイズ指数");
        case DeviceRecord::PageSize:
            return QCoreApplication::translate("SelectedDevice", "ページサイズ");
        case DeviceRecord::CommandVariant:
            return QCoreApplication::translate("SelectedDevice", "コマンド種別");
        case DeviceRecord::MicrowireParam:
            return QCoreApplication::translate("SelectedDevice", "マイクロワイヤ設定");
        default:
            return QString::number(field);
    }
}

}  // namespace

QString pageSizeLabelText(const SelectedDevice& device)
{
    const QString memory =
        QCoreApplication::translate("DeviceTexts", "　Mem. Size: %1 byte").arg(device.memorySize());
    if (device.Family == BusFamily::I2c) {
        return memory + QCoreApplication::translate("DeviceTexts", "\r\n　Page Size: %1 byte")
                            .arg(device.PageSize);
    }
    if (device.Family == BusFamily::Microwire) return memory;
    return QString();
}

QString specLineText(const SelectedDevice& device, const DeviceRecord& record, UiLanguage language)
{
    if (!isKnownBus(device.Family)) {
        return QString();
    }
    return QStringLiteral("VDD:") + record.field(DeviceRecord::Vdd) + QStringLiteral(" ") +
           QStringLiteral("Endurance:") +
           enduranceText(record.field(DeviceRecord::Endurance), language) + QStringLiteral(" ") +
           QStringLiteral("Density:") + record.field(DeviceRecord::Density) + QStringLiteral(" ") +
           QStringLiteral("WriteSpeed:") + record.field(DeviceRecord::WriteSpeed) +
           QStringLiteral(" ") + QStringLiteral("ClockSpeed:") +
           record.field(DeviceRecord::ClockSpeed) + QStringLiteral(" ");
}

QString statusNoteText(const SelectedDevice& device, UiLanguage language)
{
    if (language == UiLanguage::Japanese) return device.StatusNote;
    QStringList parts;
    switch (device.Family) {
        case BusFamily::I2c:
            parts.append(QStringLiteral("I2C"));
            break;
        case BusFamily::Microwire:
            parts.append(QStringLiteral("Microwire"));
            break;
        default:
            return device.StatusNote;
    }
    parts.append(QCoreApplication::translate("DeviceTexts", "%1 バイト")
                     .arg(groupedNumber(device.memorySize())));
    if (device.Family == BusFamily::Microwire) {
        parts.append(QCoreApplication::translate("DeviceTexts", "x8 構成 (ORG 端子を GND へ)"));
    } else if (device.PageSize <= 1) {
        parts.append(QCoreApplication::translate("DeviceTexts", "バイト書き込みのみ"));
    } else {
        parts.append(
            QCoreApplication::translate("DeviceTexts", "ページ %1 バイト").arg(device.PageSize));
    }
    // Variant 2 sends two address bytes; a 1 Mbit part puts A16 into the device address.
    if (device.Family == BusFamily::I2c && device.CommandVariant == 2) {
        parts.append(device.SizeExponent > 16
                         ? QCoreApplication::translate("DeviceTexts", "A16 はデバイスアドレス")
                         : QCoreApplication::translate("DeviceTexts", "2 バイトアドレス"));
    }
    return parts.join(QCoreApplication::translate("DeviceTexts", "／"));
}

QStringList catalogueNotices(const CatalogueLoad& load)
{
    QStringList result;
    if (!load.read) {
        result.append(QCoreApplication::translate("CatalogueLoad", "%1 を読み込めませんでした。")
                          .arg(load.path));
        return result;
    }
    if (load.ignoredRows > 0) {
        result.append(QCoreApplication::translate("CatalogueLoad",
                                                  "vorle6.ini のデバイスは %1 件までです。"
                                                  "それを超える %2 件は読み込みませんでした。")
                          .arg(DataFileContents::kMaxRows)
                          .arg(load.ignoredRows));
    }
    if (load.itemsWithTooManyWords > 0) {
        result.append(QCoreApplication::translate("CatalogueLoad",
                                                  "vorle6.ini の %1 行は語数が %2 を超えています。"
                                                  "超えた語は無視しました。")
                          .arg(load.itemsWithTooManyWords)
                          .arg(DataFileContents::kMaxWords));
    }
    if (load.endsInsideQuote) {
        result.append(QCoreApplication::translate(
            "CatalogueLoad", "vorle6.ini の最後の項目の引用符（\"）が閉じていません。"));
    }
    return result;
}

QString rowProblemText(const DeviceRowProblem& problem)
{
    switch (problem.kind) {
        case DeviceRowProblem::Kind::None:
            break;
        case DeviceRowProblem::Kind::NotANumber:
            return QCoreApplication::translate("SelectedDevice",
                                               "%1 の値「%2」が数値ではありません。")
                .arg(fieldName(problem.field), problem.word);
        case DeviceRowProblem::Kind::SizeOutOfRange:
            return QCoreApplication::translate(
                       "SelectedDevice",
                       "サイズ指数 %1 は扱えません（%2 ～ %3、16 ～ 131072 バイト）。")
                .arg(problem.sizeExponent)
                .arg(SelectedDevice::kMinSizeExponent)
                .arg(SelectedDevice::kMaxSizeExponent);
    }
    return QString();
}
