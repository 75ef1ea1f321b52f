#include "cli/CommandWord.h"

QString commandWordOf(const QStringList& arguments, const QStringList& valueOptions)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (QStringList{"-h", "--help", "-V", "--version"}.contains(word)) return {};
        if (valueOptions.contains(word)) {
            ++i;
        } else if (!word.startsWith(QLatin1Char('-'))) {
            return word;
        }
    }
    return {};
}
