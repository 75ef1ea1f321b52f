#include "devices/CatalogueLoad.h"

#include "base/DataFileReader.h"

#include <QCoreApplication>

CatalogueLoad loadCatalogue(const QString& path)
{
    CatalogueLoad load;
    load.path = path;
    const std::optional<DataFileContents> contents = readDataFile(path);
    if (!contents) return load;
    load.read = true;
    load.version = contents->version;
    load.catalogue = DeviceCatalogue(contents->rows);
    load.ignoredRows = contents->ignoredRows;
    load.itemsWithTooManyWords = contents->itemsWithTooManyWords;
    load.endsInsideQuote = contents->endsInsideQuote;
    return load;
}

QStringList CatalogueLoad::notices() const
{
    QStringList result;
    if (!read) {
        result.append(
            QCoreApplication::translate("CatalogueLoad", "%1 を読み込めませんでした。").arg(path));
        return result;
    }
    if (ignoredRows > 0) {
        result.append(QCoreApplication::translate("CatalogueLoad",
                                                  "vorle6.ini のデバイスは %1 件までです。"
                                                  "それを超える %2 件は読み込みませんでした。")
                          .arg(DataFileContents::kMaxRows)
                          .arg(ignoredRows));
    }
    if (itemsWithTooManyWords > 0) {
        result.append(QCoreApplication::translate("CatalogueLoad",
                                                  "vorle6.ini の %1 行は語数が %2 を超えています。"
                                                  "超えた語は無視しました。")
                          .arg(itemsWithTooManyWords)
                          .arg(DataFileContents::kMaxWords));
    }
    if (endsInsideQuote) {
        result.append(QCoreApplication::translate(
            "CatalogueLoad", "vorle6.ini の最後の項目の引用符（\"）が閉じていません。"));
    }
    return result;
}
