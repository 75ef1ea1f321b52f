#include "cli/CommandWord.h"

#include <QRegularExpression>

namespace {

// The options of every command that take a value: their values are not words of the line.
const QStringList kValueOptions{
    "-d",       "--device", "-p",        "--port",        "-i",       "--input",  "-o",
    "--output", "--rts",    "--dtr",     "--access-size", "--offset", "--length", "--format",
    "--data",   "--db",     "--station", "--key",         "--name",   "--serial", "--on-failure",
    "--since",  "--reads",  "--backup"};

// The words of a command line that are neither options nor their values, up to "--".
QStringList wordsOf(const QStringList& arguments)
{
    QStringList words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("--")) break;
        if (kValueOptions.contains(word)) {
            ++i;
        } else if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
            words.append(word);
        }
    }
    return words;
}

}  // namespace

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

QString commandNameOf(const QStringList& arguments)
{
    const QStringList words = wordsOf(arguments);
    if (words.isEmpty()) return {};
    const QString& sub = words.value(1);
    if (words.first() == QLatin1String("job") &&
        (sub == QLatin1String("new") || sub == QLatin1String("check"))) {
        return QStringLiteral("job ") + sub;
    }
    return words.first();
}

bool commandLineGives(const QStringList& arguments, const QString& longName, QChar letter)
{
    // Groups of the flags that take no value, as the parsers read "-qv".
    static const QRegularExpression flagGroup(QStringLiteral("^-[qvhV]+$"));
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("--")) return false;
        if (kValueOptions.contains(word)) {
            ++i;
        } else if (word == longName) {
            return true;
        } else if (!letter.isNull() && flagGroup.match(word).hasMatch() && word.contains(letter)) {
            return true;
        }
    }
    return false;
}
