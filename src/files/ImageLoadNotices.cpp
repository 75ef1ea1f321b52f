#include "files/ImageLoadNotices.h"

#include "base/HexText.h"

#include <QCoreApplication>

namespace {

// Four digits as the program shows addresses, more where an address reaches further.
QString addressText(qint64 address)
{
    if (address <= 0xFFFFFFFF) return hexText(static_cast<quint32>(address), 4);
    return hexText(static_cast<quint32>(address >> 32), 1) +
           hexText(static_cast<quint32>(address & 0xFFFFFFFF), 8);
}

}  // namespace

QStringList imageLoadNotices(const ImageReadSummary& summary, ImageFileFormat format,
                             qint64 imageSize)
{
    QStringList notices;
    if (summary.hasDataBeyond()) {
        if (imageSize == 0) {
            notices.append(QCoreApplication::translate(
                "ImageLoadNotices",
                "デバイスが選択されていないため、ファイルのデータは読み込みませんでした。"));
        } else {
            notices.append(
                QCoreApplication::translate(
                    "ImageLoadNotices",
                    "ファイルには、デバイスの最終アドレス 0x%1 を超えるデータが"
                    "ありました（アドレス 0x%2 から）。\r\n"
                    "範囲内のデータだけを読み込みました。")
                    .arg(addressText(imageSize - 1), addressText(summary.lowestAddressBeyond)));
        }
    }
    if (format == ImageFileFormat::Binary && summary.hasData() && summary.storedBytes < imageSize) {
        notices.append(
            QCoreApplication::translate("ImageLoadNotices",
                                        "ファイルは %1 バイトで、デバイスの容量 %2 バイトより"
                                        "短いため、アドレス 0x%3 から後は 0xFF のままです。")
                .arg(summary.storedBytes)
                .arg(imageSize)
                .arg(addressText(summary.storedBytes)));
    }
    if (summary.badRecords > 0) {
        notices.append(
            QCoreApplication::translate("ImageLoadNotices",
                                        "チェックサムが正しくないレコードが %1 件ありました。\r\n"
                                        "それらのデータもそのまま読み込みました。")
                .arg(summary.badRecords));
    }
    if (summary.ignoredLines > 0) {
        notices.append(QCoreApplication::translate(
                           "ImageLoadNotices",
                           "レコードではない行が %1 行ありました（最初は %2 行目）。\r\n"
                           "それらの行は読み飛ばしました。")
                           .arg(summary.ignoredLines)
                           .arg(summary.firstIgnoredLine));
    }
    return notices;
}
