#include "files/FileComparison.h"

#include "base/HexText.h"

#include <QCoreApplication>

FileComparison compareWithFile(const QString& path, ImageFileFormat format, const QByteArray& image)
{
    FileComparison result;
    result.load = loadImageFile(path, format, image.size());
    if (result.compared()) {
        result.comparison = compareRange(image, result.load.image.bytes(), 0, image.size());
    }
    return result;
}

QString FileComparison::text() const
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
