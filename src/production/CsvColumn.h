#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column of a CSV file (RFC 4180: commas, fields in double quotes with "" for a quote, LF
// or CRLF line ends, UTF-8 with or without a byte-order mark). The first line names the
// columns; the values are the column's cells of the lines after it, in file order, blanks
// around them left out, lines that are wholly empty skipped.
struct CsvColumn {
    // NotRegularFile: a named pipe, a device or the like, refused unread.
    enum class Result { Read, Unreadable, NotRegularFile, NoColumn };

    Result result = Result::Unreadable;
    QString error;  // Unreadable: the system's reason
    QStringList values;
    QList<int> lineNumbers;  // of each value, counted from 1
};

// `column`: a header name, or a column number counted from 1.
[[nodiscard]] CsvColumn readCsvColumn(const QString& path, const QString& column);

// The rows of CSV `text`, each with the number of the line it starts on.
struct CsvRow {
    QStringList cells;
    int line = 0;
};
[[nodiscard]] QList<CsvRow> parseCsv(const QString& text);
