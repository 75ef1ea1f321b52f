// Data-file (vorle6.ini) reader on arbitrary bytes, decoded as Shift_JIS like the real file.
// Besides the sanitizers' checks it holds the reader to the limits it promises: at most 101
// rows of at most 20 words, no empty word and no blank inside a word.

#include "base/DataFileReader.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DataFileContents contents = parseDataFile(decodeShiftJis(bytes));
    if (contents.rows.size() > DataFileContents::kMaxRows) std::abort();
    for (const QStringList& row : contents.rows) {
        if (row.isEmpty() || row.size() > DataFileContents::kFieldCount) std::abort();
        for (const QString& word : row) {
            if (word.isEmpty() || word.contains(QLatin1Char(' '))) std::abort();
        }
    }
    if (contents.version.contains(QLatin1Char('\t'))) std::abort();
    return 0;
}
