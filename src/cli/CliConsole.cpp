#include "cli/CliConsole.h"

#include <QIODevice>

void CliConsole::result(const QString& line)
{
    m_output.write((line + QLatin1Char('\n')).toUtf8());
}

void CliConsole::data(const QByteArray& bytes) { m_output.write(bytes); }

void CliConsole::notice(const QString& line)
{
    if (m_quiet) return;
    m_errors.write((QStringLiteral("vorle6-cli: ") + line + QLatin1Char('\n')).toUtf8());
}

void CliConsole::error(const QString& line)
{
    m_errors.write((QStringLiteral("vorle6-cli: ") + line + QLatin1Char('\n')).toUtf8());
}
