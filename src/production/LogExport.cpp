#include "production/LogExport.h"

#include <QJsonDocument>

QByteArray exportLog(const QList<ChipRecord>& records, LogFormat format)
{
    QByteArray text;
    if (format == LogFormat::Csv) text += chipRecordCsvHeader().toUtf8() + '\n';
    for (const ChipRecord& record : records) {
        text += format == LogFormat::Csv
                    ? chipRecordCsvLine(record).toUtf8()
                    : QJsonDocument(chipRecordJson(record)).toJson(QJsonDocument::Compact);
        text += '\n';
    }
    return text;
}
