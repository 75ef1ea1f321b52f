#include "files/gui/ImageLoadTexts.h"

#include "base/HexText.h"
#include "devices/PartSizeCheck.h"
#include "files/ImageFileLoad.h"
#include "image/ImageComparison.h"

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

QStringList imageLoadNotices(const ImageFileLoad& load, qint64 imageSize)
{
    if (!load.loaded()) return {};
    const ImageReadSummary& summary = load.summary;
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
    if (load.format == ImageFileFormat::Binary && summary.hasData() &&
        summary.storedBytes < imageSize) {
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
    if (summary.recordsAfterEnd > 0) {
        notices.append(
            QCoreApplication::translate("ImageLoadNotices",
                                        "終わりのレコード（:00000001FF）の後にレコードが %1 件"
                                        "ありました。\r\n"
                                        "それらは読み込みませんでした。")
                .arg(summary.recordsAfterEnd));
    }
    if (summary.hasOverlaps()) {
        notices.append(QCoreApplication::translate(
                           "ImageLoadNotices",
                           "前のレコードと同じアドレスに書くレコードがありました（%1 バイト、"
                           "最初はアドレス 0x%2）。\r\n"
                           "後のレコードのデータを読み込みました。")
                           .arg(summary.overlappingBytes)
                           .arg(addressText(summary.lowestOverlap)));
    }
    return notices;
}

QString partSizeNotice(const PartSizeMismatch& mismatch, const QStringList& fitting)
{
    const QString sizes =
        QCoreApplication::translate("ImageLoadNotices",
                                    "ファイルは %1 バイトのイメージで、デバイスの容量 %2 バイトと"
                                    "合いません。")
            .arg(mismatch.fileBytes)
            .arg(mismatch.partBytes);
    if (fitting.isEmpty()) {
        return sizes + QCoreApplication::translate("ImageLoadNotices",
                                                   "\r\nこのファイルに合うデバイスは vorle6.ini に"
                                                   "ありません。");
    }
    return sizes +
           QCoreApplication::translate("ImageLoadNotices", "\r\nこのファイルに合うデバイス: %1")
               .arg(fitting.join(QStringLiteral(", ")));
}

QString noDataRecordText()
{
    return QCoreApplication::translate("ImageFileLoad", "有効なデータレコードがありません。");
}

QString tooLargeText(const ImageFileLoad& load)
{
    return QCoreApplication::translate("ImageFileLoad",
                                       "ファイルが大きすぎます（%1 バイト）。%2 バイトを超える"
                                       "ファイルはどのデバイスのイメージでもないため、"
                                       "読み込みません。")
        .arg(load.fileBytes)
        .arg(kLargestImageFile);
}

QString formatName(ImageFileFormat format)
{
    switch (format) {
        case ImageFileFormat::IntelHex:
            return QCoreApplication::translate("ImageFileFormat", "Intel HEX形式");
        case ImageFileFormat::SRecord:
            return QCoreApplication::translate("ImageFileFormat", "Sレコード形式");
        case ImageFileFormat::Binary:
            return QCoreApplication::translate("ImageFileFormat", "バイナリ形式");
        case ImageFileFormat::Unknown:
            break;
    }
    return QString();
}

QString fileComparisonText(const Comparison& comparison)
{
    if (comparison.matches())
        return QCoreApplication::translate("FileComparison", "ファイル比較: 一致しました");
    const ByteDifference& first = comparison.first.first();
    return QCoreApplication::translate(
               "FileComparison",
               "ファイル比較: %1 バイト不一致 (最初 0x%2: バッファ 0x%3 / ファイル 0x%4)")
        .arg(comparison.mismatches)
        .arg(hexText(static_cast<quint32>(first.address), 5), hexText(first.expected, 2),
             hexText(first.actual, 2));
}
