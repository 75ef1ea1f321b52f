#pragma once

#include <QString>
#include <QStringList>

// The command word of a command line (the program name first): the first word that is not an
// option nor the value of one of `valueOptions`; empty when there is none, or when --help or
// --version come first (they are the program's, whatever the command).
[[nodiscard]] QString commandWordOf(const QStringList& arguments, const QStringList& valueOptions);
