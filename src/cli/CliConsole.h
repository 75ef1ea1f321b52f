#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Where vorle6-cli writes: results on standard output, everything for the person at the
// console (notices, progress, errors) on standard error. Quiet leaves only the errors.
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

private:
    QIODevice& m_output;
    QIODevice& m_errors;
    bool m_quiet = false;
};
