#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the data file vorle6.ini holds: the version text and the device rows, each as the
// words of one item (at most 20 kept), in file order.
struct DataFileContents {
    static constexpr int kMaxRows = 101;
    static constexpr int kMaxWords = 65;
    static constexpr int kFieldCount = 20;

    QString version;
    QList<QStringList> rows;

    // What did not fit and was left out; the start-up tells the user once.
    int ignoredRows = 0;            // device rows after the 101st
    int itemsWithTooManyWords = 0;  // items of more than 65 words (the excess words are dropped)
    bool endsInsideQuote = false;   // a quoted item ran to the end of the file

    [[nodiscard]] bool hasProblems() const
    {
        return ignoredRows > 0 || itemsWithTooManyWords > 0 || endsInsideQuote;
    }
};

// Parses the data file's text. The file is a sequence of items: an item ends at a comma, a line
// end (CR LF, LF or CR) or the end of the file; blanks before an item are skipped; an item that
// begins with a double quote runs to the next double quote, commas and line ends included.
// Each item has its tabs replaced by eight blanks and is trimmed; then an item containing "Ver"
// is the version line, one containing ";" is a comment, an empty one is skipped, and any other is
// a device row split into words at blanks (the first "=" standing as a word of its own).
[[nodiscard]] DataFileContents parseDataFile(const QString& text);

// Reads `path` as Shift_JIS and parses it. Nothing when the file cannot be read.
[[nodiscard]] std::optional<DataFileContents> readDataFile(const QString& path);

// Shift_JIS bytes to text (the data file's and the listing file's code page).
[[nodiscard]] QString decodeShiftJis(const QByteArray& bytes);
