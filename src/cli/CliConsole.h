#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Where vorle6-cli writes: results on standard output, everything for the person at the
// console (notices, progress, errors) on standard error. Quiet leaves only the errors. It
// remembers whether standard output got anything and the first error, so that a command that
// ends without a result can still give one (--json).
class CliConsole {
public:
    CliConsole(QIODevice& output, QIODevice& errors) : m_output(output), m_errors(errors) {}

    void setQuiet(bool quiet) { m_quiet = quiet; }
    [[nodiscard]] bool quiet() const { return m_quiet; }

    // A result line on standard output.
    void result(const QString& line);
    // A file's contents on standard output ("-o -").
    void data(const QByteArray& bytes);
    // Something worth knowing that is not a failure; not when quiet.
    void notice(const QString& line);
    // "vorle6-cli: " and the line, on standard error, always.
    void error(const QString& line);

    [[nodiscard]] QIODevice& errors() { return m_errors; }
    // Whether anything went to standard output.
    [[nodiscard]] bool wroteOutput() const { return m_wroteOutput; }
    // The first error line (without "vorle6-cli: "); empty when there was none.
    [[nodiscard]] const QString& firstError() const { return m_firstError; }

private:
    QIODevice& m_output;
    QIODevice& m_errors;
    bool m_quiet = false;
    bool m_wroteOutput = false;
    QString m_firstError;
};
