#include "cli/CliConsole.h"

#include <QIODevice>

void CliConsole::result(const QString& line) { data((line + QLatin1Char('\n')).toUtf8()); }

void CliConsole::data(const QByteArray& bytes)
{
    if (!bytes.isEmpty()) m_wroteOutput = true;
    m_output.write(bytes);
}

void CliConsole::notice(const QString& line)
{
    if (m_quiet) return;
    m_errors.write((QStringLiteral("vorle6-cli: ") + line + QLatin1Char('\n')).toUtf8());
}

void CliConsole::error(const QString& line)
{
    if (m_firstError.isEmpty()) m_firstError = line;
    m_errors.write((QStringLiteral("vorle6-cli: ") + line + QLatin1Char('\n')).toUtf8());
}
