#pragma once

#include "production/SerialField.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a production command line asks for: `job new`, `job check JOB` or `log`, checked for
// form; files, parts and the database are looked at by the command.
struct ProductionOptions {
    enum class Command { JobNew, JobCheck, Log };
    enum class LogOutput { Text, Csv, Json };

    Command command = Command::JobCheck;
    QString job;  // job check: the file; job new: -o
    QString name;
    QString part;
    QString image;
    std::optional<qint64> offset;
    std::optional<qint64> length;
    bool noVerify = false;
    QList<SerialField> serials;  // job new, from --serial; series and csv values not yet filled
    QString onFailure = QStringLiteral("burn");
    QString dataFile;
    QString database;  // --db
    QString since;
    LogOutput output = LogOutput::Text;
    bool json = false;  // job new, job check: the result as a JSON object
    bool quiet = false;
};

struct ProductionParse {
    std::optional<ProductionOptions> options;
    QString error;  // in English (exit code 1)
};

// Whether `arguments` (the program name first) name a production command: the first word that
// is not an option is "job" or "log".
[[nodiscard]] bool isProductionCommandLine(const QStringList& arguments);

[[nodiscard]] ProductionParse parseProductionArguments(const QStringList& arguments);

// --serial NAME:ADDRESS:LENGTH:FORMAT:START[:STEP[:LAST]], FORMAT "mac=02-00-5E" for a MAC
// address, or NAME:ADDRESS:LENGTH:csv:FILE[:COLUMN]. Nothing, and `error`, when malformed.
[[nodiscard]] std::optional<SerialField> parseSerialOption(const QString& text, QString& error);

// The lines of --help about the production commands.
[[nodiscard]] QString productionHelpText();
