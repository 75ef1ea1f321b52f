#include "production/CsvColumn.h"

#include "base/RegularFile.h"

#include <QFile>

QList<CsvRow> parseCsv(const QString& text)
{
    QList<CsvRow> rows;
    CsvRow row;
    QString cell;
    bool quoted = false;
    bool rowHasText = false;
    int line = 1;
    row.line = line;
    const auto endRow = [&] {
        row.cells.append(cell.trimmed());
        if (rowHasText) rows.append(row);
        row = CsvRow();
        cell.clear();
        rowHasText = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                cell.append(c);
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            rowHasText = true;
        } else if (c == QLatin1Char(',')) {
            row.cells.append(cell.trimmed());
            cell.clear();
            rowHasText = true;
        } else if (c == QLatin1Char('\n')) {
            endRow();
            row.line = ++line;
        } else if (c != QLatin1Char('\r')) {
            cell.append(c);
            if (!c.isSpace()) rowHasText = true;
        }
    }
    endRow();
    return rows;
}

CsvColumn readCsvColumn(const QString& path, const QString& column)
{
    CsvColumn read;
    QFile file;
    switch (openRegularFile(file, path, read.error)) {
        case RegularFileOpening::Opened:
            break;
        case RegularFileOpening::NotRegular:
            read.result = CsvColumn::Result::NotRegularFile;
            return read;
        case RegularFileOpening::Failed:
            return read;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    const QList<CsvRow> rows = parseCsv(text);
    read.result = CsvColumn::Result::NoColumn;
    if (rows.isEmpty()) return read;
    bool isNumber = false;
    int index = column.toInt(&isNumber) - 1;
    if (!isNumber) index = rows.first().cells.indexOf(column);
    if (index < 0 || index >= rows.first().cells.size()) return read;
    read.result = CsvColumn::Result::Read;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows.at(r);
        read.values.append(index < row.cells.size() ? row.cells.at(index) : QString());
        read.lineNumbers.append(row.line);
    }
    return read;
}
