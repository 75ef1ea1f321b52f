#include "base/DataFileReader.h"

#include "base/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Steps over one line end (CR LF counts as one) or one comma at `pos`.
qsizetype skipDelimiter(const QString& text, qsizetype pos)
{
    if (pos >= text.size()) return pos;
    if (text.at(pos) == u'\r' && pos + 1 < text.size() && text.at(pos + 1) == u'\n') return pos + 2;
    return pos + 1;
}

qsizetype findDelimiter(const QString& text, qsizetype pos)
{
    while (pos < text.size() && text.at(pos) != u',' && !isLineEnd(text.at(pos))) ++pos;
    return pos;
}

void addItem(DataFileContents& contents, QString item)
{
    item.replace(QLatin1Char('\t'), QStringLiteral("        "));
    item = item.trimmed();
    if (item.contains(QStringLiteral("Ver"))) {
        contents.version = item;
        return;
    }
    if (item.isEmpty() || item.contains(QLatin1Char(';'))) return;

    const qsizetype equals = item.indexOf(QLatin1Char('='));
    if (equals >= 0) item.replace(equals, 1, QStringLiteral(" = "));
    QStringList words = item.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() > DataFileContents::kMaxWords) ++contents.itemsWithTooManyWords;
    if (words.size() > DataFileContents::kFieldCount) words.resize(DataFileContents::kFieldCount);

    if (contents.rows.size() >= DataFileContents::kMaxRows) {
        ++contents.ignoredRows;
        return;
    }
    contents.rows.append(words);
}

}  // namespace

DataFileContents parseDataFile(const QString& text)
{
    DataFileContents contents;
    qsizetype pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text.at(pos) == u' ' || text.at(pos) == u'\t')) ++pos;
        if (pos >= text.size()) break;

        if (text.at(pos) == u'"') {
            const qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                contents.endsInsideQuote = true;
                addItem(contents, text.mid(pos + 1));
                break;
            }
            addItem(contents, text.mid(pos + 1, close - pos - 1));
            // Whatever stands between the closing quote and the next delimiter is dropped.
            pos = skipDelimiter(text, findDelimiter(text, close + 1));
        } else {
            const qsizetype end = findDelimiter(text, pos);
            addItem(contents, text.mid(pos, end - pos));
            pos = skipDelimiter(text, end);
        }
    }
    return contents;
}

QString decodeShiftJis(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

std::optional<DataFileContents> readDataFile(const QString& path)
{
    // A pipe or device put in the file's place is never read: it could keep the program waiting.
    QFile file;
    QString error;
    if (openRegularFile(file, path, error) != RegularFileOpening::Opened) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return parseDataFile(decodeShiftJis(bytes));
}
