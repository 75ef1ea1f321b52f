#pragma once

#include <QString>
#include <QStringList>

// The command word of a command line (the program name first): the first word that is not an
// option nor the value of one of `valueOptions`; empty when there is none, or when --help or
// --version come first (they are the program's, whatever the command).
[[nodiscard]] QString commandWordOf(const QStringList& arguments, const QStringList& valueOptions);

// "write", "job check", "run": the command a command line (the program name first) names,
// whatever comes before it; empty when it names none. Read before any parser has looked at the
// line, so that even a line that does not parse gets its help and its JSON result.
[[nodiscard]] QString commandNameOf(const QStringList& arguments);

// Whether a command line (the program name first) gives the option `longName` ("--json") or,
// when `letter` is given, "-v" alone or in a group of flags ("-qv"); values of other options
// and everything after "--" do not count.
[[nodiscard]] bool commandLineGives(const QStringList& arguments, const QString& longName,
                                    QChar letter = {});
